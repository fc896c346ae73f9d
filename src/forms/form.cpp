// Form: the controls of a surface, its tab order, its focus and the life
// cycle of modal forms. Named-controls layer (src/forms).
//
// Focus states: no pending move, or one pending move (pendingFocus_) asked
// while an action was open. Transitions:
//   requestFocus   outside any action: the move is applied at once (it runs
//                  in a scope of its own); inside one: it becomes the pending
//                  move, replacing any earlier one.
//   requestFallbackFocus  the focused control became unusable; marks that
//                  the focus must leave it, without naming where to.
//   endAction      the outermost scope closing applies the pending move
//                  (applyPendingFocus); when an exception is on its way the
//                  move is dropped instead, with the action that asked it.
//   applyPendingFocus  moves the focus to the pending target when it is
//                  usable; otherwise, when the focused control is no longer
//                  usable, to the control after it in tab order. Then runs
//                  LostFocus of the control left and GotFocus of the new
//                  one, each in its own scope;
//                  a move they ask for is applied in the next round, and the
//                  rounds stop after kMaxFocusRounds (handlers ping-ponging).
#include "forms/form.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

namespace forms {

namespace {
constexpr int kMaxFocusRounds = 50;

// Tab order key: the owners' TabIndex from the outermost, then its own.
std::vector<int> TabKey(const Control& control) {
  std::vector<int> key;
  for (const Control* c = &control; c != nullptr; c = c->Owner()) key.push_back(c->TabIndex);
  std::reverse(key.begin(), key.end());
  return key;
}

// Runs a handler as an action of its own.
void RunInScope(Form& form, const std::function<void()>& handler) {
  const std::function<void()> copy = handler;
  if (!copy) return;
  ActionScope scope(form);
  copy();
}

// The control and its embedded owners, innermost first.
std::vector<Control*> OwnerChain(Control* control) {
  std::vector<Control*> chain;
  for (Control* c = control; c != nullptr; c = c->Owner()) chain.push_back(c);
  return chain;
}
}  // namespace

// The runtime state of every control as it was when the form was first
// loaded, to which Reset returns it.
struct Form::DesignState {
  struct Entry {
    std::string text;
    bool enabled, visible, readOnly;
    std::vector<std::string> items;
    int listIndex, value, max;
  };
  std::vector<Entry> entries;  // parallel to all_ (controls added later keep theirs)
};

Form::Form(std::string name, int widthTwips, int heightTwips)
    : name_(std::move(name)), width_(widthTwips), height_(heightTwips) {}

Form::~Form() = default;

Control& Form::Add(Kind kind, std::string name, Rect geometry, Control* container, Control* owner) {
  const std::string path = owner != nullptr ? owner->Path() + "." + name : name;
  if (Find(path) != nullptr)
    throw std::invalid_argument("control " + path + " already on form " + name_);
  all_.push_back(std::make_unique<Control>(*this, kind, std::move(name), container, owner));
  Control& control = *all_.back();
  control.geometry = geometry;
  if (owner == nullptr) collection_.push_back(&control);
  const std::vector<FormObserver*> snapshot = observers_;
  for (FormObserver* o : snapshot) {
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end())
      o->controlAdded(control);
  }
  return control;
}

Control* Form::Find(std::string_view path) const {
  for (const auto& c : all_) {
    if (c->Path() == path) return c.get();
  }
  return nullptr;
}

Control& Form::Get(std::string_view path) const {
  Control* c = Find(path);
  if (c == nullptr)
    throw std::out_of_range("no control " + std::string(path) + " on form " + name_);
  return *c;
}

void Form::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  notifyFormChanged();
}

void Form::SetEnabled(bool enabled) {
  // The focus stays where it is: the surface is disabled only for a while.
  if (enabled == enabled_) return;
  enabled_ = enabled;
  notifyFormChanged();
}

std::vector<Control*> Form::TabOrder() const {
  std::vector<std::pair<std::vector<int>, Control*>> keyed;
  for (const auto& c : all_) {
    if (c->TabIndex >= 0 && c->TakesFocus() && c->IsUsable())
      keyed.emplace_back(TabKey(*c), c.get());
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Control*> order;
  for (auto& [key, c] : keyed) order.push_back(c);
  return order;
}

Control* Form::NextInTabOrder(Control* from, bool backwards) const {
  const std::vector<Control*> order = TabOrder();
  if (order.empty()) return nullptr;
  const auto n = static_cast<std::ptrdiff_t>(order.size());
  const auto it = std::find(order.begin(), order.end(), from);
  if (it != order.end()) {
    const std::ptrdiff_t i = it - order.begin();
    return order[static_cast<std::size_t>((i + (backwards ? n - 1 : 1)) % n)];
  }
  if (from == nullptr) return backwards ? order.back() : order.front();
  // `from` is out of the order now (disabled, hidden): go on from its place.
  const std::vector<int> key = TabKey(*from);
  if (backwards) {
    for (auto r = order.rbegin(); r != order.rend(); ++r) {
      if (TabKey(**r) < key) return *r;
    }
    return order.back();
  }
  for (Control* c : order) {
    if (key < TabKey(*c)) return c;
  }
  return order.front();
}

void Form::requestFocus(Control* target) {
  pendingFocus_ = target;
  hasPendingFocus_ = true;
  if (actionDepth_ == 0) {
    ActionScope scope(*this);  // applied when it closes
  }
}

void Form::requestFallbackFocus() {
  fallbackPending_ = true;
  if (actionDepth_ == 0) {
    ActionScope scope(*this);  // applied when it closes
  }
}

void Form::endAction() {
  --actionDepth_;
  if (actionDepth_ > 0 || applyingFocus_ || !(hasPendingFocus_ || fallbackPending_)) return;
  if (std::uncaught_exceptions() > 0) {
    // The action failed: what it asked for is dropped with it. A focused
    // control left unusable still gives the focus away, at the next action.
    hasPendingFocus_ = false;
    pendingFocus_ = nullptr;
    return;
  }
  applyPendingFocus();
}

void Form::applyPendingFocus() {
  applyingFocus_ = true;
  struct Done {
    Form& f;
    ~Done() {
      f.applyingFocus_ = false;
      f.hasPendingFocus_ = false;
      f.pendingFocus_ = nullptr;
      f.fallbackPending_ = false;
    }
  } done{*this};
  for (int round = 0; (hasPendingFocus_ || fallbackPending_) && round < kMaxFocusRounds; ++round) {
    Control* target = hasPendingFocus_ ? pendingFocus_ : nullptr;
    const bool fallback = fallbackPending_;
    hasPendingFocus_ = false;
    pendingFocus_ = nullptr;
    fallbackPending_ = false;
    if (unloaded_) continue;
    if (target == nullptr || !target->IsUsable()) {
      // Nothing usable was asked for: leave a control that can no longer
      // hold the focus for the one after it, as the platform does.
      target = nullptr;
      if (fallback && focused_ != nullptr && !focused_->IsUsable())
        target = NextInTabOrder(focused_);
    }
    if (target == nullptr || target == focused_) continue;
    moveFocus(target);
  }
  // Whatever is still pending after the last round is dropped (see Done).
}

void Form::moveFocus(Control* target) {
  Control* old = focused_;
  focused_ = target;
  notifyFocus(target);
  if (old != nullptr) old->notify(Property::Focus);
  target->notify(Property::Focus);

  // Embedded controls lose and get the focus with their parts.
  std::vector<Control*> left = OwnerChain(old);
  std::vector<Control*> entered = OwnerChain(target);
  while (!left.empty() && !entered.empty() && left.back() == entered.back()) {
    left.pop_back();
    entered.pop_back();
  }
  for (Control* c : left) RunInScope(*this, c->LostFocus);
  for (auto it = entered.rbegin(); it != entered.rend(); ++it) RunInScope(*this, (*it)->GotFocus);
}

void Form::notifyFocus(Control* focused) {
  const std::vector<FormObserver*> snapshot = observers_;
  for (FormObserver* o : snapshot) {
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end())
      o->focusChanged(focused);
  }
}

void Form::notifyFormChanged() {
  const std::vector<FormObserver*> snapshot = observers_;
  for (FormObserver* o : snapshot) {
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->formChanged();
  }
}

void Form::RaiseLoad() {
  if (!design_) takeDesignState();
  unloaded_ = false;
  RunInScope(*this, Load);
}

bool Form::Unload() { return queryThenUnload(1); }

bool Form::RequestClose() { return queryThenUnload(0); }

bool Form::queryThenUnload(int unloadMode) {
  if (unloaded_) return true;  // nothing left to close
  int cancel = 0;
  {
    ActionScope scope(*this);
    const auto handler = QueryUnload;
    if (handler) handler(cancel, unloadMode);
  }
  if (cancel != 0) return false;
  unloaded_ = true;
  hasPendingFocus_ = false;
  pendingFocus_ = nullptr;
  fallbackPending_ = false;
  if (focused_ != nullptr) {
    Control* old = focused_;
    focused_ = nullptr;
    notifyFocus(nullptr);
    old->notify(Property::Focus);
  }
  const std::vector<FormObserver*> snapshot = observers_;
  for (FormObserver* o : snapshot) {
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->unloaded();
  }
  return true;
}

void Form::Reset() {
  if (!design_) {
    takeDesignState();
  } else {
    restoreDesignState();
  }
  unloaded_ = false;
}

void Form::takeDesignState() {
  design_ = std::make_unique<DesignState>();
  for (const auto& c : all_) {
    design_->entries.push_back({c->text_, c->enabled_, c->visible_, c->readOnly_, c->items_,
                                c->listIndex_, c->value_, c->max_});
  }
}

void Form::restoreDesignState() {
  // No handler runs: this is the form being created afresh, not a change.
  hasPendingFocus_ = false;
  pendingFocus_ = nullptr;
  fallbackPending_ = false;
  if (focused_ != nullptr) {
    focused_ = nullptr;
    notifyFocus(nullptr);
  }
  for (std::size_t i = 0; i < design_->entries.size() && i < all_.size(); ++i) {
    Control& c = *all_[i];
    const DesignState::Entry& e = design_->entries[i];
    c.text_ = e.text;
    c.enabled_ = e.enabled;
    c.visible_ = e.visible;
    c.readOnly_ = e.readOnly;
    c.items_ = e.items;
    c.listIndex_ = e.listIndex;
    c.value_ = e.value;
    c.max_ = e.max;
    c.selStart_ = 0;
    c.selLength_ = 0;
    for (Property p :
         {Property::Text, Property::Enabled, Property::Visible, Property::ReadOnly, Property::List,
          Property::ListIndex, Property::Value, Property::Max, Property::Selection}) {
      c.notify(p);
    }
  }
}

void Form::AddObserver(FormObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
    observers_.push_back(observer);
  }
}

void Form::RemoveObserver(FormObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

}  // namespace forms
