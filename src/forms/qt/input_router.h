// InputRouter: turns what the user does on the widgets of a QtFormView into
// UserInput calls, then has the view mirror the model again. Nothing the
// user does edits a widget directly: keys, paste, drops, cuts, clicks,
// picks, scrolls and focus moves all go through the model first.
// Qt binding of the named-controls layer (src/forms/qt).
#pragma once

#include <functional>

#include <QObject>
#include <QString>

#include "forms/control.h"
#include "forms/qt/widget_factory.h"
#include "forms/user_input.h"

class QContextMenuEvent;
class QDropEvent;
class QFocusEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;

namespace forms::qt {

class QtFormView;

class InputRouter : public QObject {
  Q_OBJECT

 public:
  // A child of `view`; gone with it.
  explicit InputRouter(QtFormView& view);

  // Listens to the widgets of `control` (events and signals).
  void Attach(Control& control, const ControlWidgets& widgets);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs one user action on the model, then resyncs `control`'s widgets.
  void run(Control& control, const std::function<bool(UserInput&)>& action);
  // The cursor and selection of `control`'s text part go into the model.
  void pushSelection(Control& control);

  bool onKeyPress(Control& control, QObject* watched, QKeyEvent* event);
  bool onCommonKey(Control& control, QKeyEvent* event);
  bool onEditKey(Control& control, QObject* watched, QKeyEvent* event);
  bool onListKey(Control& control, QKeyEvent* event);
  void backtab(Control& control);
  bool onFocusIn(Control& control, QObject* watched, QFocusEvent* event);
  bool onMousePress(Control* control, QMouseEvent* event);
  bool onMiddleRelease(Control& control, QMouseEvent* event);
  bool onDrop(Control& control, QObject* watched, QDropEvent* event);
  bool onContextMenu(Control& control, QContextMenuEvent* event);
  bool onInputMethod(Control& control, QObject* watched, QInputMethodEvent* event);

  // Editing operations shared by keys, the context menu, drops.
  void paste(Control& control, const QString& text);
  void cut(Control& control);
  void copy(Control& control);
  // Lets the widget handle a key the model has no word for (cursor moves,
  // copy), then undoes any edit it made behind the model's back.
  void forwardToWidget(Control& control, QObject* watched, QKeyEvent* event);

  // The mouse's press moves the focus before the click that its release
  // makes: true once for the control the press focused (its focus handlers
  // have run, whatever they did with the focus).
  bool takeMouseFocus(const Control& control);
  // The list control whose viewport `watched` is, if any.
  [[nodiscard]] Control* listOfViewport(QObject* watched) const;

  QtFormView& view_;
  QObject* forwarding_ = nullptr;          // the widget an event is being re-sent to
  const Control* mouseFocused_ = nullptr;  // the last control a press focused
  // A list whose rows the mouse button is held down on: the rows it passes
  // over are picked as it goes, as a list box does.
  const Control* mouseOnList_ = nullptr;
  // The list the current press already picked a row in: its click (on the
  // release) does not pick it again.
  const Control* pressPicked_ = nullptr;
};

// Pasted and dropped text for a one-line box: line breaks and tabs become
// single spaces, trailing ones are dropped (a cell copied from a sheet ends
// with one).
[[nodiscard]] QString OneLine(const QString& text);

// True when the event types characters, not a control key or a shortcut.
[[nodiscard]] bool IsTyping(const QKeyEvent& event);

}  // namespace forms::qt
