// One line of a scenario file turned into a command: what the user does to
// the control, what the host does, or what must be observed afterwards.
// Scenario runner (src/tools/scenario, no Qt); pure text work, no control.
//
//   std::optional<Command> c = ParseLine("expect Txt_CodCtrUrssaf.Text = 07");
//   // c->verb == Verb::Expect, c->name == "Txt_CodCtrUrssaf",
//   // c->property == Prop::Text, c->text == "07"
//
// Blank lines and lines starting with "#" give no command.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "forms/services.h"

namespace scenario {

// A line that is not a command; what() says why, without the line number.
class ParseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Verb {
  User,           // user NAME
  Niveau,         // niveau N
  Init,           // init
  Type,           // type CONTROL TEXT
  Key,            // key CONTROL {ENTER}
  Focus,          // focus CONTROL
  Click,          // click CONTROL
  DblClick,       // dblclick CONTROL [INDEX]
  RightClick,     // rightclick CONTROL|UserControl
  Pick,           // pick CONTROL INDEX
  Scroll,         // scroll CONTROL VALUE
  Answer,         // answer Oui|Non|Annuler|OK
  Expect,         // expect CONTROL.PROPERTY = VALUE
  ExpectSortir,   // expect W_Sortir = VALUE
  ExpectMsg,      // expect-msg "TEXT"
  ExpectNoMsg,    // expect-no-msg
  ExpectRecord,   // expect-record FILE KEY ATTR = VALUE
  ExpectHelp,     // expect-help "PAGE"
  ExpectPopup,    // expect-popup MENU
  Dump,           // dump [FORM]
  DbWrite,        // db-write FILE KEY TEXT (another workstation)
  DbDelete,       // db-delete FILE KEY (another workstation)
  DbDropSession,  // db-drop-session (the server ends the control's session)
  Wheel,          // wheel CONTROL STEPS
  CloseWindow     // close-window (the host window's close box)
};

enum class Prop {
  Text,
  Enabled,
  Visible,
  ReadOnly,  // the user may look and copy, not change it
  ListCount,
  ListIndex,
  Value,
  Max,
  List,
  Focused,
  TopIndex,   // the first line a list shows
  Fits,       // its whole text is drawn inside it, and it lies inside its form
  FocusShown  // it has the focus and the focus is drawn
};

// Keys that are no character.
inline constexpr int kKeyDelete = -1;  // {DELETE}: UserInput::Delete
inline constexpr int kKeyHelp = -2;    // {F1}: UserInput::Help
// Moving keys: a list moves its selection, a box its cursor.
inline constexpr int kKeyUp = -3;
inline constexpr int kKeyDown = -4;
inline constexpr int kKeyPageUp = -5;
inline constexpr int kKeyPageDown = -6;
inline constexpr int kKeyHome = -7;
inline constexpr int kKeyEnd = -8;

struct Command {
  Verb verb = Verb::Init;
  // Control path, user name, file name (expect-record), form (dump).
  std::string name;
  // Typed text, expected value, message text, help page, record key.
  std::string text;
  // Expected value of expect-record, text of db-write (text holds the key
  // there).
  std::string value;
  Prop property = Prop::Text;
  // niveau N, pick INDEX, scroll VALUE, List(i), dblclick INDEX (-1: the
  // selected line), key code.
  int number = -1;
  // expect-record: attribute, value, subvalue (1 to 3 numbers); empty: the
  // whole record.
  std::vector<int> position;
  forms::MsgAnswer answer = forms::MsgAnswer::OK;
  // answer {ENTER}: Return on the box, its default button.
  bool answerDefault = false;

  [[nodiscard]] bool IsExpectation() const;
  // Runs against the control's screen (needs init).
  [[nodiscard]] bool IsAction() const;
};

// nullopt for a blank or comment line. Throws ParseError otherwise when the
// line is not a command. A trailing carriage return is ignored.
[[nodiscard]] std::optional<Command> ParseLine(std::string_view line);

[[nodiscard]] const char* PropName(Prop property);
// "Oui"/"Yes" -> Yes, "Non"/"No" -> No, "Annuler"/"Cancel" -> Cancel,
// "OK"; any case. nullopt for anything else.
[[nodiscard]] std::optional<forms::MsgAnswer> ParseAnswer(std::string_view word);

}  // namespace scenario
