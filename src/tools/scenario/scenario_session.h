// Session: one scenario file played on a fresh Ctr_Urssaf, headless, on a
// database shared with the other files of the run (changes persist).
// Scenario runner (src/tools/scenario, no Qt).
//
//   scenario::Session s("t.scn", lines, db, {.verbose = false}, std::cout, std::cerr);
//   if (!s.Run()) std::cerr << s.Report();
//
// Lines run in order from one cursor. A modal form shown by an action is
// driven from the same cursor: the lines that follow go to it until it is
// unloaded, then the action that showed it returns and the run goes on.
//
// Message boxes block the action that shows them, so their answer must be
// known when they appear. It is, in this order: the oldest answer queued by
// an "answer" line already run; else the first "answer" line ahead of the
// cursor when only comments and "expect-msg" lines stand before it (that
// line is then consumed); else OK for a box whose only button is OK. A
// question with no answer stops the scenario, naming the box and the line.
//
// The first failure stops the run. The logic may catch what a handler
// throws (some handlers ignore every error), so a failure is recorded
// before anything is thrown and the run checks the record after each line.
#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/aide/recording_help_window.h"
#include "dba/database.h"
#include "scenario_command.h"
#include "scenario_names.h"
#include "scenario_screen.h"

namespace forms {
class UserInput;
}
namespace components {
class DroitsUtilisateur;
}
namespace morvanel::shell {
class Ctr_Urssaf;
}

namespace scenario {

struct ScriptLine {
  int number = 0;  // 1-based line of the file
  std::string text;
  std::optional<Command> command;  // nullopt: blank or comment
  bool consumed = false;           // an answer taken by a look-ahead
};

struct SessionOptions {
  bool verbose = false;
  std::string helpDir;  // where the help pages are looked for
  // For lines made up while the run goes (random sessions). Asked for the
  // next line once the lines run out; nullopt ends the run.
  std::function<std::optional<std::string>()> nextLine;
  // Answers a box that finds no answer ahead; the answer is kept as an
  // "answer" line after the lines run so far, so the run replays as a file.
  std::function<forms::MsgAnswer(std::string_view text, forms::MsgButtons)> answer;
  // Told of each modal form as it is shown, before any line acts on it.
  std::function<void(forms::Form&)> modalShown;
  // Checked after each action line; a text fails the run with it.
  std::function<std::optional<std::string>(const ScriptLine&)> afterAction;
  // Builds the real window around the control's surface (--qt); without
  // it the run is headless.
  std::function<std::unique_ptr<Screen>(morvanel::shell::Ctr_Urssaf&, forms::Services&)> screen;
};

// The answer given to a message box; `enter`: Return pressed on it.
struct Reply {
  forms::MsgAnswer answer = forms::MsgAnswer::OK;
  bool enter = false;
};

struct Failure {
  int line = 0;
  std::string lineText;
  std::string message;
  std::optional<std::string> expected;
  std::optional<std::string> actual;
};

class ScriptServices;

class Session {
 public:
  Session(std::string file, std::vector<ScriptLine> lines, std::shared_ptr<dba::Database> db,
          SessionOptions options, std::ostream& out, std::ostream& err);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Plays every line; false at the first failure (see failure()).
  bool Run();
  [[nodiscard]] const std::optional<Failure>& failure() const { return failure_; }
  // "FILE:LINE: LINE TEXT" then the message, expected and actual values.
  [[nodiscard]] std::string Report() const;

  // What the run has done so far (generated lines included) and where.
  [[nodiscard]] const std::deque<ScriptLine>& Lines() const { return lines_; }
  [[nodiscard]] const std::vector<forms::Form*>& Forms() const { return forms_; }
  [[nodiscard]] morvanel::shell::Ctr_Urssaf& Control() { return *control_; }
  [[nodiscard]] bool HostUnloaded() const { return hostUnloaded_; }

  // For the services: the answer of a box that appears with no queued
  // answer (look-ahead), or a recorded failure.
  Reply AnswerFor(std::string_view text, forms::MsgButtons buttons);
  [[noreturn]] void WrongAnswer(std::string_view text, forms::MsgButtons buttons,
                                forms::MsgAnswer answer);
  void ParentUnloaded();
  // The real window, or nullptr for a headless run.
  [[nodiscard]] Screen* screen() const { return screen_.get(); }

 private:
  void step();
  // Appends the next made-up line; false when there is none.
  bool pull();
  void execute(const ScriptLine& line, const Command& c);
  void perform(const Command& c);
  void check(const Command& c);
  void checkControl(const Command& c);
  void checkMessage(const Command& c);
  void checkNoMessage();
  void checkRecord(const Command& c);
  void checkHelp(const Command& c);
  void checkPopup(const Command& c);
  void init();
  void dump(const Command& c);
  // db-write and db-delete, through a session of their own.
  void otherWorkstation(const Command& c);
  void dropSession();  // db-drop-session
  void driveModal(forms::Form& form);
  [[nodiscard]] Target resolveForAction(const std::string& name);
  // An action without a screen: keys that move, the wheel, the close box.
  bool performHeadless(const Command& c, const Target& t, forms::UserInput& input);
  bool moveKey(const Command& c, forms::Control& control, forms::UserInput& input);

  // Records the failure (the first one wins) and throws to unwind.
  [[noreturn]] void fail(std::string message, std::optional<std::string> expected = std::nullopt,
                         std::optional<std::string> actual = std::nullopt);
  void note(const std::string& text);

  std::string file_;
  std::deque<ScriptLine> lines_;  // a deque: running_ points into it while it grows
  std::shared_ptr<dba::Database> db_;
  SessionOptions options_;
  std::ostream& out_;
  std::ostream& err_;

  std::unique_ptr<ScriptServices> services_;
  components::RecordingHelpWindow helpWindow_;
  std::unique_ptr<morvanel::shell::Ctr_Urssaf> control_;
  std::unique_ptr<Screen> screen_;  // before control_ goes: it draws its form
  std::shared_ptr<components::DroitsUtilisateur> droits_;
  std::string user_ = "scenario";
  bool initialised_ = false;
  bool hostUnloaded_ = false;

  std::vector<forms::Form*> forms_;         // surface first, modal forms over it
  std::size_t cursor_ = 0;                  // next line to run
  std::vector<const ScriptLine*> running_;  // lines being run, innermost last
  std::size_t messagesChecked_ = 0;         // expect-msg consumed so far
  std::size_t messagesAtLastCheck_ = 0;     // for expect-no-msg
  std::size_t helpChecked_ = 0;
  std::size_t popupsChecked_ = 0;
  std::optional<Failure> failure_;
};

}  // namespace scenario
