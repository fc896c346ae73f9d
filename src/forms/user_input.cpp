// UserInput: one call per user action, turned into the events the logic
// handles, in the order the platform raises them.
// Named-controls layer (src/forms), toolkit-independent.
//
// A click, a pick or a scroll first moves the focus to the control as an
// action of its own (LostFocus, GotFocus), then acts in a second action, so
// the focus handlers have run before Click or Change. A typed character is
// one action: KeyPress, then the key's effect on the control that received
// it, then the focus move that handlers asked for.
#include "forms/user_input.h"

#include <algorithm>

#include "forms/services.h"
#include "forms/utf8_text.h"

namespace forms {

namespace {
bool IsList(const Control& c) { return c.kind() == Kind::ComboBox || c.kind() == Kind::ListBox; }
constexpr int kKeySpace = 32;
constexpr int kKeyDelete = 127;

// Keys that move on or confirm still reach a read-only control; the others
// would edit it, and are dropped before its handlers see them.
bool EditsReadOnly(const Control& target, int key) {
  if (!target.ReadOnly()) return false;
  if (target.kind() != Kind::TextBox && target.kind() != Kind::ComboBox &&
      target.kind() != Kind::CheckBox) {
    return false;
  }
  return key != kKeyTab && key != kKeyEnter && key != kKeyEscape;
}
}  // namespace

bool UserInput::Focus(Control& control) {
  if (!control.IsUsable()) return false;
  if (!control.TakesFocus() && control.kind() != Kind::Embedded) return false;
  ActionScope scope(form_);
  control.SetFocus();
  return true;
}

bool UserInput::Type(Control& control, std::string_view utf8Text) {
  if (!control.IsUsable() || !control.TakesFocus()) return false;
  if (!control.Focused() && !Focus(control)) return false;
  for (char32_t cp : utf8::Decode(utf8Text)) {
    // Each character goes where the focus is now: a handler may have moved it.
    Control* target = form_.ActiveControl();
    if (target == nullptr || !target->IsUsable()) return false;
    deliverKey(*target, static_cast<int>(cp), false);
  }
  return true;
}

bool UserInput::Key(Control& control, int keyAscii) {
  if (!control.IsUsable() || !control.TakesFocus()) return false;
  if (!control.Focused() && !Focus(control)) return false;
  Control* target = form_.ActiveControl();
  if (target == nullptr || !target->IsUsable()) return false;
  return deliverKey(*target, keyAscii, false);
}

bool UserInput::Paste(Control& control, std::string_view utf8Text) {
  if (!control.IsUsable() || !control.TakesFocus()) return false;
  if (!control.Focused() && !Focus(control)) return false;
  Control* target = form_.ActiveControl();
  if (target == nullptr || !target->IsUsable() || target->ReadOnly()) return false;
  // One action: the whole text lands in the box before any focus move.
  ActionScope scope(form_);
  for (char32_t cp : utf8::Decode(utf8Text)) deliverKey(*target, static_cast<int>(cp), true);
  return true;
}

bool UserInput::Delete(Control& control) {
  if (!control.IsUsable() || !control.isEditable() || control.ReadOnly()) return false;
  if (!control.Focused() && !Focus(control)) return false;
  if (!control.IsUsable()) return false;  // a focus handler disabled it
  ActionScope scope(form_);
  const int count = utf8::CharCount(control.text_);
  const int start = std::clamp(control.selStart_, 0, count);
  int length = std::clamp(control.selLength_, 0, count - start);
  if (length == 0) {
    if (start == count) return true;  // nothing after the cursor
    length = 1;
  }
  const std::size_t from = utf8::ByteOffset(control.text_, start);
  const std::size_t to = utf8::ByteOffset(control.text_, start + length);
  control.setEditedText(control.text_.substr(0, from) + control.text_.substr(to), start);
  return true;
}

bool UserInput::deliverKey(Control& target, int keyAscii, bool paste) {
  if (EditsReadOnly(target, keyAscii)) return true;
  ActionScope scope(form_);
  int key = keyAscii;
  const auto keyPress = target.KeyPress;  // the handler may replace itself
  if (keyPress) keyPress(key);
  if (key <= 0) return true;  // refused by the handler
  const bool button = target.kind() == Kind::Button;
  switch (key) {
    case kKeyBackspace:
      if (!paste) target.deleteBackward();
      return true;
    case kKeyTab:
      if (!paste) {
        Control* next = form_.NextInTabOrder(&target);
        if (next != nullptr && next != &target) form_.requestFocus(next);
      }
      return true;
    case kKeyEnter:
      if (!paste && button) target.raise(target.Click);
      return true;  // a single-line box takes no line break
    case kKeyEscape: return true;
    default: break;
  }
  if (key == kKeySpace && !paste && button) {
    target.raise(target.Click);
  } else if (key == kKeySpace && !paste && target.kind() == Kind::CheckBox) {
    target.SetValue(target.Value() != 0 ? 0 : 1);
  } else if (key >= kKeySpace && key != kKeyDelete) {
    target.insertTyped(utf8::Encode(static_cast<char32_t>(key)));
  }
  return true;
}

bool UserInput::Click(Control& control, bool focusTaken) {
  if (!control.IsUsable()) return false;
  if (control.TakesFocus() && !control.Focused() && !focusTaken) {
    Focus(control);
    if (!control.IsUsable()) return false;  // a focus handler disabled it
  }
  ActionScope scope(form_);
  switch (control.kind()) {
    case Kind::CheckBox:
      if (control.ReadOnly()) break;                   // it took the focus; its value stays
      control.SetValue(control.Value() != 0 ? 0 : 1);  // raises Click
      break;
    case Kind::ComboBox: break;  // only choosing an entry clicks a combo (Pick)
    default: control.raise(control.Click); break;
  }
  return true;
}

bool UserInput::Pick(Control& control, int index, bool focusTaken) {
  if (!IsList(control) || !control.IsUsable() || index < 0 || index >= control.ListCount())
    return false;
  if (control.kind() == Kind::ComboBox && control.ReadOnly()) return false;
  if (!control.Focused() && !focusTaken) {
    Focus(control);
    if (!control.IsUsable() || index >= control.ListCount()) return false;
  }
  ActionScope scope(form_);
  if (control.listIndex_ != index) {
    control.listIndex_ = index;
    control.notify(Property::ListIndex);
  }
  if (control.kind() == Kind::ComboBox && control.text_ != control.items_[index]) {
    // The entry's text comes with the choice, without Change.
    control.text_ = control.items_[index];
    control.selStart_ = utf8::CharCount(control.text_);
    control.selLength_ = 0;
    control.notify(Property::Text);
  }
  control.raise(control.Click);
  return true;
}

bool UserInput::DblClick(Control& control, int index, bool focusTaken) {
  if (control.kind() == Kind::ListBox) {
    // A screen delivers the double click's first click as a click of its
    // own: the line is already chosen then, and is not clicked twice.
    const bool chosen = (control.Focused() || focusTaken) && control.ListIndex() == index;
    if (!chosen && !Pick(control, index, focusTaken)) return false;
  } else {
    if (!control.IsUsable()) return false;
    if (control.TakesFocus() && !control.Focused() && !focusTaken) Focus(control);
  }
  if (!control.IsUsable()) return false;
  ActionScope scope(form_);
  control.raise(control.DblClick);
  return true;
}

bool UserInput::Scroll(Control& control, int value) {
  if (control.kind() != Kind::VScrollBar || !control.IsUsable()) return false;
  if (!control.Focused()) {
    Focus(control);
    if (!control.IsUsable()) return false;
  }
  ActionScope scope(form_);
  control.SetValue(value);  // clamped; Change when it moves
  return true;
}

bool UserInput::MouseDown(Control* control, int button, float x, float y) {
  if (!form_.Enabled()) return false;
  for (const Control* c = control; c != nullptr;
       c = c->Container() != nullptr ? c->Container() : c->Owner()) {
    if (!c->Visible()) return false;  // nothing of it is on the screen
  }
  // A control that does not take input lets the press through to what lies
  // under it: its container, else the surface, in that one's coordinates.
  Control* receiver = control;
  while (receiver != nullptr && !receiver->IsUsable()) {
    x += static_cast<float>(receiver->geometry.left);
    y += static_cast<float>(receiver->geometry.top);
    receiver = receiver->Container() != nullptr ? receiver->Container() : receiver->Owner();
  }
  ActionScope scope(form_);
  const auto handler = receiver != nullptr ? receiver->MouseDown : form_.MouseDown;
  if (handler) handler(button, 0, x, y);
  return true;
}

bool UserInput::Help(Control& control) {
  if (!control.IsUsable()) return false;
  ActionScope scope(form_);
  for (const Control* c = &control; c != nullptr;
       c = c->Container() != nullptr ? c->Container() : c->Owner()) {
    if (c->HelpContextID != 0) {
      services_.ShowHelpTopic(form_.helpFile, c->HelpContextID);
      break;
    }
  }
  return true;
}

bool UserInput::CloseBox() {
  if (form_.IsUnloaded()) return false;
  return form_.RequestClose();
}

}  // namespace forms
