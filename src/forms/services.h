// Services: what the logic asks of the user-interface platform besides
// controls: message boxes, beep, mouse pointer, one pass of pending events,
// pop-up menus, modal forms, help, and unloading the host's form.
// Named-controls layer (src/forms); implemented by each binding.
#pragma once

#include <string>
#include <string_view>

namespace forms {

class Control;
class Form;

enum class MsgButtons { OK, YesNo, YesNoCancel };
enum class MsgIcon { Information, Exclamation };
enum class MsgAnswer { OK, Yes, No, Cancel };
enum class MousePointer { Default = 0, Hourglass = 11 };

// The button Return presses on a box: OK or Yes, except on the questions
// whose Yes throws work away (deleting a record, leaving a creation): a
// clerk who presses Return by habit must not lose anything, so theirs is No.
[[nodiscard]] MsgAnswer DefaultAnswer(std::string_view text, MsgButtons buttons);

class Services {
 public:
  virtual ~Services() = default;

  // A modal message box; returns the button pressed.
  virtual MsgAnswer MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                           std::string_view title) = 0;
  virtual void Beep() = 0;
  virtual void SetMousePointer(MousePointer pointer) = 0;
  // Lets pending window events run once.
  virtual void DoEvents() = 0;
  // Shows `menu` (a Menu control) as a pop-up at x, y (twips on the surface
  // of `menu`'s form); a chosen item raises its Click.
  virtual void PopupMenu(Control& menu, float x, float y) = 0;
  // Shows `form` modally; returns once it is unloaded.
  virtual void ShowModal(Form& form) = 0;
  // F1: opens topic `context` of the help file.
  virtual void ShowHelpTopic(const std::string& helpFile, int context) = 0;
  // Closes the help-file window opened for this control, and the help page's.
  virtual void CloseHelp(const std::string& helpFile) = 0;
  // Shows the HTML page at `htmlPath` (an absolute file path, optionally
  // followed by "#anchor") in a help window titled `title`; the window stays
  // open until the user or CloseHelp closes it.
  virtual void ShowHelpPage(const std::string& htmlPath, const std::string& title) = 0;
  // Unloads the host form on which the control is placed.
  virtual void UnloadParentForm() = 0;

  // A long step tells how far it got: `done` of `total` units, `text` saying
  // what it does. A binding may show it once the step has lasted a while;
  // done == total ends it. The default shows nothing (the hourglass is on).
  virtual void Progress(std::string_view text, int done, int total) {
    (void)text, (void)done, (void)total;
  }
};

}  // namespace forms
