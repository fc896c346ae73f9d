// The rules a random session checks after every action: the two rate lists
// move together, the screen is in one of its three working states with
// that state's buttons, the database changes only through a save, a
// deletion or the bank dialog's immediate save (never for a consultation
// user), no change hides from the write count, every centre keeps parallel
// rate attributes and every case record points to an existing centre.
// Random clerk sessions (src/tools/monkey, no Qt).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "dba/database.h"
#include "forms/form.h"
#include "scenario_session.h"

namespace monkey {

// Every record of every file: file -> key -> whole text.
using DbImage = std::map<std::string, std::map<std::string, std::string>>;
[[nodiscard]] DbImage ReadImage(dba::Database& db);

// A broken rule: its short name (what shrinking keeps), what was seen, and
// when possible a scenario line that fails for the same reason.
struct Broken {
  std::string rule;
  std::string detail;
  std::string expectLine;
};

// "invariant RULE: DETAIL", the text a session fails with.
[[nodiscard]] std::string FailureText(const Broken& b);
// The rule of a session's failure message: the invariant's, "exception"
// for an error that escaped a handler, "" for anything else (a scenario
// that cannot go on, as a question left without an answer in a replay).
[[nodiscard]] std::string RuleOf(const std::string& failureMessage);

// Rules that hold of the database's content alone.
[[nodiscard]] std::optional<Broken> CheckContent(const DbImage& image);

class Checker {
 public:
  // `level`: the session's access level for the screen; `image` the
  // database as the session starts.
  Checker(dba::Database& db, DbImage image, int level);

  // Counts the clicks of the buttons that may write (the main "OK",
  // "Sortir" and "Supprimer", the bank dialog's "Retour"), however they
  // come: a click, Enter, or a space typed once Tab reached the button.
  void Watch(forms::Form& form);

  // After each action line of `session`.
  [[nodiscard]] std::optional<Broken> AfterAction(scenario::Session& session,
                                                  const scenario::ScriptLine& line);
  // Once the session is over: nothing changed but what the checks saw.
  [[nodiscard]] std::optional<Broken> AtEnd();

  [[nodiscard]] std::uint64_t Writes() const { return writes_; }

 private:
  [[nodiscard]] std::optional<Broken> checkScreen(scenario::Session& session);
  [[nodiscard]] std::optional<Broken> checkWrite(bool mayWrite);

  dba::Database& db_;
  DbImage image_;
  int level_;
  std::uint64_t seen_;
  std::uint64_t writes_ = 0;  // actions that wrote
  std::uint64_t saveClicks_ = 0;
  std::uint64_t saveClicksSeen_ = 0;
  int saveRunning_ = 0;
  std::set<const forms::Form*> watched_;
};

}  // namespace monkey
