// Form: a surface of named controls (the control's own surface, or a modal
// form) with its ordered Controls collection, its focus and its life cycle.
// Named-controls layer (src/forms), toolkit-independent.
//
// Focus model. The form has at most one focused control. Every user action
// (a key, a click, a focus move, a pick) and every host call into the logic
// runs inside an ActionScope. A SetFocus asked while a scope is open is kept
// as pending; when the outermost scope closes, the pending move is applied:
// LostFocus on the control left, then GotFocus on the new one, each run in a
// scope of its own so that their own SetFocus calls are deferred the same
// way. Moves that ping-pong are cut after a bounded number of rounds.
// A focused control that becomes unusable (disabled, hidden) gives the focus
// to the next usable control in tab order, but only as a fallback: a move
// the logic asked for in the same action wins over it, whichever came first,
// and the fallback is worked out when the action ends, from the screen as it
// then is.
// So a character typed into a box is inserted into that box even when its
// KeyPress handler moved the focus away, and only then does the focus move.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"

namespace forms {

class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void controlAdded(Control& control) = 0;
  virtual void formChanged() = 0;  // caption, enabled state, size
  virtual void focusChanged(Control* focused) = 0;
  virtual void unloaded() = 0;
};

class Form {
 public:
  Form(std::string name, int widthTwips, int heightTwips);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  [[nodiscard]] const std::string& Name() const { return name_; }
  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }

  // Path of the help file that F1 opens; set by the shell.
  std::string helpFile;

  // Creates a control. `container` is a frame (or embedded control) it sits
  // in; `owner` is the embedded control whose inner part it is (those are
  // not in the Controls collection, as a composite's inner fields are not).
  Control& Add(Kind kind, std::string name, Rect geometry, Control* container = nullptr,
               Control* owner = nullptr);

  // The Controls collection: the form's own controls, in creation order,
  // walked by index (0 .. Count()-1).
  [[nodiscard]] int Count() const { return static_cast<int>(collection_.size()); }
  [[nodiscard]] Control& operator[](int index) const { return *collection_.at(index); }
  // Every control, inner parts of embedded controls included.
  [[nodiscard]] const std::vector<std::unique_ptr<Control>>& AllControls() const { return all_; }
  // By name, or "Owner.Inner" path; nullptr when absent.
  [[nodiscard]] Control* Find(std::string_view path) const;
  // By name; throws std::out_of_range naming the control when absent.
  [[nodiscard]] Control& Get(std::string_view path) const;

  // Caption of a modal form's window.
  [[nodiscard]] const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  // The whole surface's enabled state (the user control's own Enabled).
  [[nodiscard]] bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // --- focus ----------------------------------------------------------------
  [[nodiscard]] Control* ActiveControl() const { return focused_; }
  // Controls that may take the focus, in tab order.
  [[nodiscard]] std::vector<Control*> TabOrder() const;
  [[nodiscard]] Control* NextInTabOrder(Control* from, bool backwards = false) const;

  // --- life cycle of modal forms ----------------------------------------------
  // Form_Load runs when the form is loaded; QueryUnload(cancel, unloadMode)
  // may refuse a close (unloadMode 0: the window's close box, 1: code).
  std::function<void()> Load;
  std::function<void(int& cancel, int unloadMode)> QueryUnload;
  std::function<void(int button, int shift, float x, float y)> MouseDown;  // the surface

  void RaiseLoad();
  // Unload from code (UnloadMode 1). Returns false when QueryUnload refused.
  bool Unload();
  // The window's close box (UnloadMode 0). Returns false when refused.
  bool RequestClose();
  [[nodiscard]] bool IsUnloaded() const { return unloaded_; }
  // Loadable again, its controls back to the state they had when the form
  // was first loaded (or first reset): an unloaded form loses its contents.
  // Handlers are kept.
  void Reset();

  // --- actions ----------------------------------------------------------------
  [[nodiscard]] bool InAction() const { return actionDepth_ > 0; }

  void AddObserver(FormObserver* observer);
  void RemoveObserver(FormObserver* observer);

 private:
  friend class Control;
  friend class ActionScope;
  friend class UserInput;
  void requestFocus(Control* target);
  // The focused control became unusable: it will give the focus away unless
  // the logic asks for a move of its own before the action ends.
  void requestFallbackFocus();
  void applyPendingFocus();
  void beginAction() { ++actionDepth_; }
  void endAction();
  void notifyFormChanged();
  void moveFocus(Control* target);
  void notifyFocus(Control* focused);
  bool queryThenUnload(int unloadMode);
  void takeDesignState();
  void restoreDesignState();

  struct DesignState;

  std::string name_;
  int width_;
  int height_;
  std::string caption_;
  bool enabled_ = true;
  bool unloaded_ = false;
  std::vector<std::unique_ptr<Control>> all_;
  std::vector<Control*> collection_;
  Control* focused_ = nullptr;
  Control* pendingFocus_ = nullptr;
  bool hasPendingFocus_ = false;
  bool fallbackPending_ = false;
  int actionDepth_ = 0;
  std::vector<FormObserver*> observers_;
  bool applyingFocus_ = false;
  std::unique_ptr<DesignState> design_;
};

// Marks the handling of one user action or host call; focus moves asked
// during it are applied when the outermost scope ends.
class ActionScope {
 public:
  explicit ActionScope(Form& form) : form_(form) { form_.beginAction(); }
  // May run focus handlers, which may throw (errors of the logic are left
  // uncaught); nothing runs while an exception is already on its way.
  ~ActionScope() noexcept(false) { form_.endAction(); }
  ActionScope(const ActionScope&) = delete;
  ActionScope& operator=(const ActionScope&) = delete;

 private:
  Form& form_;
};

}  // namespace forms
