// Control: properties of a named control and the events that setting them
// from code raises. Named-controls layer (src/forms).
//
// Handlers are copied before they run: a handler may replace the handlers of
// its own control. Setting a value a control already holds raises nothing,
// which is what ends the chains of handlers that follow each other.
#include "forms/control.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "forms/form.h"
#include "forms/utf8_text.h"

namespace forms {

namespace {
const std::string kEmpty;

// The scroll bar of the platform starts with this maximum.
constexpr int kDefaultScrollMax = 32767;
}  // namespace

Control::Control(Form& form, Kind kind, std::string name, Control* container, Control* owner)
    : form_(form), kind_(kind), name_(std::move(name)), container_(container), owner_(owner) {
  if (kind_ == Kind::VScrollBar) max_ = kDefaultScrollMax;
}

std::string Control::Path() const {
  return owner_ != nullptr ? owner_->Path() + "." + name_ : name_;
}

const std::string& Control::Text() const {
  if (kind_ == Kind::ListBox) {
    return listIndex_ >= 0 && listIndex_ < ListCount() ? items_[listIndex_] : kEmpty;
  }
  return text_;
}

bool Control::isEditable() const { return kind_ == Kind::TextBox || kind_ == Kind::ComboBox; }

void Control::SetText(std::string_view text) {
  if (kind_ == Kind::ListBox) {
    // Selects the entry holding that text; a text the list lacks is ignored.
    const auto it = std::find(items_.begin(), items_.end(), text);
    if (it != items_.end()) SetListIndex(static_cast<int>(it - items_.begin()));
    return;
  }
  if (kind_ == Kind::VScrollBar) return;  // no text
  if (!isEditable()) {
    if (text_ == text) return;
    text_ = std::string(text);
    notify(Property::Text);
    return;
  }
  // MaxLength is not applied: it limits what the user types or pastes, and a
  // text the program sets (a record being shown) must come back unchanged.
  setTextRaising(std::string(text));
}

void Control::setTextRaising(std::string text) {
  const int end = utf8::CharCount(text);
  setEditedText(std::move(text), end);
}

void Control::setEditedText(std::string text, int cursor) {
  if (text == text_) {
    SetSelection(cursor, 0);
    return;
  }
  text_ = std::move(text);
  selStart_ = std::clamp(cursor, 0, utf8::CharCount(text_));
  selLength_ = 0;
  if (kind_ == Kind::ComboBox) followTextInList();
  notify(Property::Text);
  notify(Property::Selection);
  raise(Change);
}

void Control::followTextInList() {
  const auto it = std::find(items_.begin(), items_.end(), text_);
  const int index = it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
  if (index == listIndex_) return;
  listIndex_ = index;
  notify(Property::ListIndex);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  notify(Property::Enabled);
  if (!enabled) giveUpFocusIfUnusable();
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  notify(Property::Visible);
  if (!visible) giveUpFocusIfUnusable();
}

void Control::SetReadOnly(bool readOnly) {
  if (readOnly_ == readOnly) return;
  readOnly_ = readOnly;
  notify(Property::ReadOnly);
}

void Control::giveUpFocusIfUnusable() {
  // The focused control (this one or one inside it) can no longer be used:
  // the focus goes on to the next usable control, as the platform does,
  // unless the logic asks for another control before its action ends.
  Control* focused = form_.focused_;
  if (focused == nullptr || focused->IsUsable()) return;
  form_.requestFallbackFocus();
}

bool Control::IsUsable() const {
  if (!form_.Enabled()) return false;
  if (kind_ == Kind::MenuItem) {
    // A pop-up menu is shown whatever its Visible says; only Enabled counts.
    return enabled_ && (container_ == nullptr || container_->Enabled());
  }
  for (const Control* c = this; c != nullptr;
       c = c->container_ != nullptr ? c->container_ : c->owner_) {
    if (!c->enabled_ || !c->visible_) return false;
  }
  return true;
}

bool KindTakesFocus(Kind kind) {
  switch (kind) {
    case Kind::TextBox:
    case Kind::ComboBox:
    case Kind::ListBox:
    case Kind::Button:
    case Kind::CheckBox:
    case Kind::VScrollBar: return true;
    default: return false;
  }
}

bool Control::TakesFocus() const {
  if (kind_ != Kind::Embedded) return KindTakesFocus(kind_);
  for (const auto& c : form_.AllControls()) {
    if (c->owner_ == this && c->TakesFocus()) return false;  // its parts do
  }
  return true;
}

void Control::AddItem(std::string_view text) {
  items_.emplace_back(text);
  listChanged();
}

void Control::AddItem(std::string_view text, int index) {
  if (index < 0 || index >= ListCount()) {
    AddItem(text);
    return;
  }
  items_.emplace(items_.begin() + index, text);
  listChanged(index);
  if (listIndex_ >= index) {
    ++listIndex_;
    notify(Property::ListIndex);
  }
}

void Control::AddItems(std::vector<std::string> texts) {
  if (texts.empty()) return;
  items_.insert(items_.end(), std::make_move_iterator(texts.begin()),
                std::make_move_iterator(texts.end()));
  listChanged();
}

void Control::AddItems(std::size_t count,
                       const std::function<void(std::size_t, std::string&)>& write) {
  if (count == 0) return;
  const std::size_t first = items_.size();
  items_.resize(first + count);
  for (std::size_t i = 0; i < count; ++i) write(i, items_[first + i]);
  listChanged();
}

void Control::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;  // nothing there
  items_.erase(items_.begin() + index);
  listChanged();
  if (listIndex_ == index) {
    listIndex_ = -1;
    notify(Property::ListIndex);
  } else if (listIndex_ > index) {
    --listIndex_;
    notify(Property::ListIndex);
  }
}

void Control::Clear() {
  items_.clear();
  listChanged();
  if (listIndex_ != -1) {
    listIndex_ = -1;
    notify(Property::ListIndex);
  }
  if (kind_ == Kind::ComboBox && !text_.empty()) setTextRaising({});
}

std::string Control::List(int index) const {
  return index >= 0 && index < ListCount() ? items_[index] : std::string();
}

void Control::SetListIndex(int index) {
  if (kind_ != Kind::ComboBox && kind_ != Kind::ListBox) return;
  if (index < -1 || index >= ListCount() || index == listIndex_) return;
  listIndex_ = index;
  notify(Property::ListIndex);
  if (kind_ == Kind::ComboBox) {
    // The entry's text comes with the choice; Change is not raised for it.
    text_ = List(index);
    selStart_ = utf8::CharCount(text_);
    selLength_ = 0;
    notify(Property::Text);
  }
  raise(Click);
}

void Control::SetValue(int value) {
  if (kind_ == Kind::CheckBox) {
    const int checked = value != 0 ? 1 : 0;  // True (-1) or any non-zero ticks it
    if (checked == value_) return;
    value_ = checked;
    notify(Property::Value);
    raise(Click);
  } else if (kind_ == Kind::VScrollBar) {
    const int clamped = std::clamp(value, std::min(0, max_), std::max(0, max_));
    if (clamped == value_) return;
    value_ = clamped;
    notify(Property::Value);
    raise(Change);
  }
}

void Control::SetMax(int max) {
  if (kind_ != Kind::VScrollBar || max == max_) return;
  max_ = max;
  notify(Property::Max);
  SetValue(value_);  // clamps, raising Change when the value moves
}

void Control::SetFocus() {
  if (kind_ == Kind::Embedded && !TakesFocus()) {
    // The focus goes to the first of its parts in tab order.
    for (Control* c : form_.TabOrder()) {
      for (const Control* o = c->owner_; o != nullptr; o = o->owner_) {
        if (o == this) {
          c->SetFocus();
          return;
        }
      }
    }
    return;
  }
  if (!TakesFocus() || !IsUsable()) return;  // the platform would raise an error
  form_.requestFocus(this);
}

bool Control::Focused() const { return form_.focused_ == this; }

void Control::SetSelection(int start, int length) {
  const int count = utf8::CharCount(text_);
  const int s = std::clamp(start, 0, count);
  const int l = std::clamp(length, 0, count - s);
  if (s == selStart_ && l == selLength_) return;
  selStart_ = s;
  selLength_ = l;
  notify(Property::Selection);
}

bool Control::insertTyped(std::string_view utf8Char) {
  if (!isEditable()) return false;
  const int count = utf8::CharCount(text_);
  const int start = std::clamp(selStart_, 0, count);
  const int length = std::clamp(selLength_, 0, count - start);
  if (MaxLength > 0 && count - length + utf8::CharCount(utf8Char) > MaxLength) return false;
  const std::size_t from = utf8::ByteOffset(text_, start);
  const std::size_t to = utf8::ByteOffset(text_, start + length);
  std::string edited = text_.substr(0, from);
  edited += utf8Char;
  edited += text_.substr(to);
  setEditedText(std::move(edited), start + utf8::CharCount(utf8Char));
  return true;
}

bool Control::deleteBackward() {
  if (!isEditable()) return false;
  const int count = utf8::CharCount(text_);
  int start = std::clamp(selStart_, 0, count);
  int length = std::clamp(selLength_, 0, count - start);
  if (length == 0) {
    if (start == 0) return false;
    --start;
    length = 1;
  }
  const std::size_t from = utf8::ByteOffset(text_, start);
  const std::size_t to = utf8::ByteOffset(text_, start + length);
  setEditedText(text_.substr(0, from) + text_.substr(to), start);
  return true;
}

void Control::AddObserver(ControlObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
    observers_.push_back(observer);
  }
}

void Control::RemoveObserver(ControlObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Control::listChanged(int insertedAt) {
  ++listChanges_;
  lastInsertedAt_ = insertedAt;
  notify(Property::List);
}

void Control::notify(Property property) {
  // An observer may remove itself or others while being told.
  const std::vector<ControlObserver*> snapshot = observers_;
  for (ControlObserver* o : snapshot) {
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) {
      o->controlChanged(*this, property);
    }
  }
}

void Control::raise(const std::function<void()>& handler) {
  const std::function<void()> copy = handler;  // the handler may replace itself
  if (copy) copy();
}

}  // namespace forms
