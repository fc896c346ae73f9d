// One random clerk session, and the replay of a session's lines, each run
// in a child process on a fresh copy of the demo database so that a crash
// or a hang is seen from outside and the next session starts clean.
// Random clerk sessions (src/tools/monkey, no Qt).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "invariants.h"

namespace monkey {

struct Workspace {
  std::string templateDb;  // the seeded demo database, never opened again
  std::string workDb;      // each session's copy
  DbImage templateImage;   // its content
};

// Seeds the demo database at `dir`/demo.mvdb once and reads its content.
[[nodiscard]] Workspace PrepareWorkspace(const std::string& dir);

struct Outcome {
  std::string rule;    // "" when every rule held
  std::string detail;  // what was seen
  std::string expectLine;
  std::vector<std::string> lines;  // the session's lines (generated sessions)
  long actions = 0;
  long writes = 0;  // actions that wrote to the database
};

// A generated session of `budget` actions (it may end earlier when the
// user leaves). `budget` counts action lines; answers come on top.
[[nodiscard]] Outcome RunGenerated(const Workspace& w, std::uint64_t seed, long budget);
// The same lines again, answers included, as urssaf-scenario would play
// them; the rule broken, if any.
[[nodiscard]] Outcome Replay(const Workspace& w, const std::vector<std::string>& lines);

// The answer word a scenario line uses.
[[nodiscard]] const char* AnswerWord(forms::MsgAnswer a);

}  // namespace monkey
