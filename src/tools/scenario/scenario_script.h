// Reading a scenario file into numbered lines with their commands, and the
// database set-up the runner makes before playing scenarios.
// Scenario runner (src/tools/scenario, no Qt).
#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "dba/database.h"
#include "scenario_session.h"

namespace scenario {

// A file that cannot be read, or a line that is no command: what() is
// "FILE:LINE: LINE" and the reason on the next line.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Every line of `path`, parsed; throws ScriptError at the first bad line.
[[nodiscard]] std::vector<ScriptLine> LoadScript(const std::string& path);
// The same from text already read (`name` is used in the messages).
[[nodiscard]] std::vector<ScriptLine> ParseScript(const std::string& name, std::istream& in);

}  // namespace scenario
