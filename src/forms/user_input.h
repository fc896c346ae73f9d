// UserInput: what a user does to a form, as one call per action. The headless
// binding, the tests and the scenario runner call it directly; the Qt binding
// turns real keyboard and mouse events into the same calls, so every handler
// chain behaves identically whatever draws the screen.
// Named-controls layer (src/forms), toolkit-independent.
//
// Each call is one user action (an ActionScope). A control that is disabled
// or hidden (itself, a container, or the form) takes no input: the call
// returns false and nothing happens (mouse buttons excepted: MouseDown).
// A read-only control takes the focus and the keys that move on (Tab, Enter,
// Escape) but nothing that would change it: typed characters, Backspace,
// paste and Delete are dropped, a combo's entries cannot be picked, a check
// box does not toggle.
#pragma once

#include <string_view>

#include "forms/control.h"
#include "forms/form.h"

namespace forms {

class Services;

class UserInput {
 public:
  UserInput(Form& form, Services& services) : form_(form), services_(services) {}

  // The user moves the focus to `control` (click or Tab into it).
  bool Focus(Control& control);
  // Types `text` character by character, each its own action: focus the
  // control first when it has not the focus, then each character goes to
  // the focused control: KeyPress, then insertion (respecting MaxLength)
  // unless the code became 0, then Change. Returns false when refused.
  bool Type(Control& control, std::string_view utf8Text);
  // A single key: kKeyEnter, kKeyBackspace, kKeyTab, kKeyEscape or a
  // character code. Tab left unchanged by KeyPress moves to the next control
  // in tab order (after, so over, any SetFocus of the KeyPress handler).
  // Enter or space on a button clicks it; space on a check box toggles it.
  bool Key(Control& control, int keyAscii);
  // Pasted or dropped text goes through the same key rule character by
  // character (a refused character is dropped, the rest is inserted).
  bool Paste(Control& control, std::string_view utf8Text);
  // The Delete key, or cutting the selection: removes the selection, else
  // the character after the cursor, and raises Change. Deleting is no
  // character, so KeyPress is not raised (Backspace goes through Key).
  bool Delete(Control& control);
  // Click: focus (for controls that take it), then Click. A check box
  // toggles its value first; a menu item just raises Click. A combo only
  // takes the focus: it clicks when an entry is chosen (Pick).
  // `focusTaken`: a screen already moved the focus when the mouse button
  // went down (Focus ran then); the click does not take it a second time,
  // even when a LostFocus handler sent it back meanwhile.
  bool Click(Control& control, bool focusTaken = false);
  // The user chooses entry `index` of a combo or list (focus, ListIndex,
  // combo text = the entry, Click). `focusTaken` as for Click.
  bool Pick(Control& control, int index, bool focusTaken = false);
  // Double click on entry `index` of a list: Pick (unless the list has the
  // focus and that entry already, its first click having picked it), then
  // DblClick.
  bool DblClick(Control& control, int index, bool focusTaken = false);
  // The user moves a scroll bar to `value` (clamped to 0..Max): Change.
  bool Scroll(Control& control, int value);
  // Mouse button pressed on a control (frame) or, with nullptr, the surface;
  // x, y relative to it. A disabled control (or one in a disabled container)
  // passes the press on to the first usable container around it, else to
  // the surface, with x, y made relative to that receiver, as the platform
  // does. A hidden control, or a disabled surface, gets nothing.
  bool MouseDown(Control* control, int button, float x = 0, float y = 0);
  // F1: the help topic of the control, else of its containers.
  bool Help(Control& control);
  // The window's close box.
  bool CloseBox();

 private:
  bool deliverKey(Control& target, int keyAscii, bool paste);
  Form& form_;
  Services& services_;
};

}  // namespace forms
