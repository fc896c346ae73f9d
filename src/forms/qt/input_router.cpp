// InputRouter: the event filter of a QtFormView's widgets and the signals of
// its buttons, lists and scroll bars, turned into UserInput calls. The text
// editing part (keys in boxes, paste, drops, context menu) is in
// text_input.cpp. Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/input_router.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>

#include <utility>

#include "forms/qt/error_report.h"
#include "forms/qt/qt_form_view.h"
#include "forms/qt/qt_units.h"
#include "forms/qt/widget_mirror.h"

namespace forms::qt {
namespace {

int ModelButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return kMouseLeft;
    case Qt::RightButton: return kMouseRight;
    case Qt::MiddleButton: return kMouseMiddle;
    default: return 0;
  }
}

// Focus moves the user makes with Qt's own means; the rest (pop-ups closing,
// windows activated, the binding's own setFocus) are not the user's.
bool IsUserFocusReason(Qt::FocusReason reason) {
  return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
         reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
}

}  // namespace

InputRouter::InputRouter(QtFormView& view) : QObject(&view), view_(view) {}

void InputRouter::run(Control& control, const std::function<bool(UserInput&)>& action) {
  // The action may close the window and delete the view, this router with it.
  QPointer<QtFormView> view(&view_);
  pushSelection(control);
  try {
    action(view_.input());
  } catch (const std::exception& error) {
    ReportError(error);
  }
  if (view) view->Resync(control);
}

void InputRouter::pushSelection(Control& control) {
  if (view_.IsBinding()) return;
  const ControlWidgets widgets = view_.WidgetsOf(control);
  if (widgets.edit == nullptr || TextDiverges(control, widgets)) return;
  // Without the focus the box only shows its start (see MirrorSelection).
  if (!HasQtFocus(widgets.edit)) return;
  const CharSelection selection = SelectionOf(widgets);
  if (selection.start == control.SelStart() && selection.length == control.SelLength()) return;
  const QtFormView::BindingScope scope(view_);
  control.SetSelection(selection.start, selection.length);
}

void InputRouter::Attach(Control& control, const ControlWidgets& widgets) {
  QWidget* widget = widgets.widget;
  widget->installEventFilter(this);
  if (widgets.edit != nullptr && widgets.edit != widget) widgets.edit->installEventFilter(this);
  Control* c = &control;
  if (QLineEdit* edit = widgets.edit) {
    connect(edit, &QLineEdit::cursorPositionChanged, this, [this, c] { pushSelection(*c); });
    connect(edit, &QLineEdit::selectionChanged, this, [this, c] { pushSelection(*c); });
    // Safety net: an edit that got past the routing (input methods, platform
    // shortcuts) is undone once the widget has finished with it.
    connect(edit, &QLineEdit::textEdited, this, [this, c] {
      if (view_.IsBinding()) return;
      QTimer::singleShot(0, this, [this, c] { view_.Resync(*c); });
    });
  }
  switch (control.kind()) {
    case Kind::Button:
    case Kind::CheckBox:  // Qt's toggle is off: the model's Click toggles
      connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this, [this, c] {
        const bool taken = takeMouseFocus(*c);
        run(*c, [c, taken](UserInput& in) { return in.Click(*c, taken); });
      });
      break;
    case Kind::ComboBox:
      connect(static_cast<QComboBox*>(widget), &QComboBox::activated, this, [this, c](int index) {
        run(*c, [c, index](UserInput& in) { return in.Pick(*c, index); });
      });
      break;
    case Kind::ListBox: {
      auto* list = static_cast<QListView*>(widget);
      // The rows take the mouse: its press and release are seen there.
      list->viewport()->installEventFilter(this);
      connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
              [this, c](const QModelIndex& current) {
                // Only the mouse's own moves: the binding's mirroring, and a
                // list that picks its first row when tabbed into, are not.
                if (view_.IsBinding() || mouseOnList_ != c || !current.isValid()) return;
                pressPicked_ = c;
                const int row = current.row();
                const bool taken = takeMouseFocus(*c);
                run(*c, [c, row, taken](UserInput& in) { return in.Pick(*c, row, taken); });
              });
      connect(list, &QAbstractItemView::clicked, this, [this, c](const QModelIndex& index) {
        if (std::exchange(pressPicked_, nullptr) == c) return;  // picked on the way
        const int row = index.row();
        const bool taken = takeMouseFocus(*c);
        run(*c, [c, row, taken](UserInput& in) { return in.Pick(*c, row, taken); });
      });
      connect(list, &QAbstractItemView::doubleClicked, this, [this, c](const QModelIndex& index) {
        const int row = index.row();
        const bool taken = takeMouseFocus(*c);
        run(*c, [c, row, taken](UserInput& in) { return in.DblClick(*c, row, taken); });
      });
      break;
    }
    case Kind::VScrollBar:
      // Mirroring blocks the bar's signals: every value seen here is the user's.
      connect(static_cast<QScrollBar*>(widget), &QScrollBar::valueChanged, this,
              [this, c](int value) {
                if (view_.IsBinding()) return;
                run(*c, [c, value](UserInput& in) { return in.Scroll(*c, value); });
              });
      break;
    default: break;
  }
}

Control* InputRouter::listOfViewport(QObject* watched) const {
  auto* widget = qobject_cast<QWidget*>(watched);
  auto* list = widget != nullptr ? qobject_cast<QListView*>(widget->parentWidget()) : nullptr;
  return list != nullptr && list->viewport() == widget ? view_.ControlOf(list) : nullptr;
}

bool InputRouter::eventFilter(QObject* watched, QEvent* event) {
  if (watched == forwarding_) return false;  // our own re-sent event
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
    if (Control* list = listOfViewport(watched)) {
      const bool press = event->type() == QEvent::MouseButtonPress &&
                         static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
      mouseOnList_ = press ? list : nullptr;
      if (press) pressPicked_ = nullptr;
      return false;  // the list itself handles it
    }
  }
  if (watched == &view_) {
    if (event->type() == QEvent::MouseButtonPress) {
      return onMousePress(nullptr, static_cast<QMouseEvent*>(event));
    }
    return false;
  }
  Control* control = view_.ControlOf(watched);
  if (control == nullptr) return false;  // not our widget
  switch (event->type()) {
    case QEvent::KeyPress: {
      const QtFormView::KeyboardScope keyboard(view_);
      return onKeyPress(*control, watched, static_cast<QKeyEvent*>(event));
    }
    case QEvent::FocusIn: return onFocusIn(*control, watched, static_cast<QFocusEvent*>(event));
    case QEvent::FocusOut: {
      // Left for another box: show the start of the text again.
      const QtFormView::BindingScope scope(view_);
      MirrorProperty(*control, view_.WidgetsOf(*control), Property::Selection);
      return false;
    }
    case QEvent::MouseButtonPress: return onMousePress(control, static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
      return onMiddleRelease(*control, static_cast<QMouseEvent*>(event));
    case QEvent::Drop: return onDrop(*control, watched, static_cast<QDropEvent*>(event));
    case QEvent::ContextMenu:
      return onContextMenu(*control, static_cast<QContextMenuEvent*>(event));
    case QEvent::InputMethod:
      return onInputMethod(*control, watched, static_cast<QInputMethodEvent*>(event));
    default: return false;
  }
}

bool InputRouter::takeMouseFocus(const Control& control) {
  return std::exchange(mouseFocused_, nullptr) == &control;
}

bool InputRouter::onFocusIn(Control& control, QObject* watched, QFocusEvent* event) {
  if (view_.IsBinding()) return false;
  if (event->reason() == Qt::MouseFocusReason) mouseFocused_ = &control;
  if (!IsUserFocusReason(event->reason())) {
    // A pop-up or a message box gave the focus back: the model may have
    // moved it meanwhile.
    if (view_.form().ActiveControl() != &control) {
      QTimer::singleShot(0, &view_, [view = QPointer<QtFormView>(&view_)] {
        if (view) view->SyncFocus();
      });
    } else {
      // The window became active with the box focused (a dialog just
      // opened): the box showed its start meanwhile, the cursor is the
      // model's again, else typing would land before the text.
      const QtFormView::BindingScope scope(view_);
      MirrorProperty(control, view_.WidgetsOf(control), Property::Selection);
    }
    return false;
  }
  if (view_.form().ActiveControl() == &control) {
    // A dialog being shown hands its focus widget a focus-in of its own,
    // marked as Tab, and a line edit then selects its whole text: the
    // clerk's first key would replace it. The model did not move; the box
    // keeps the model's cursor.
    const ControlWidgets widgets = view_.WidgetsOf(control);
    if (watched != widgets.edit || event->reason() != Qt::TabFocusReason) return false;
    const QtFormView::BindingScope scope(view_);
    forwarding_ = watched;
    QCoreApplication::sendEvent(watched, event);
    forwarding_ = nullptr;
    MirrorProperty(control, widgets, Property::Selection);
    return true;
  }
  {
    // The box showed its start while it had no focus: it takes the model's
    // cursor back before the focus handlers read it (a click then moves it).
    const QtFormView::BindingScope scope(view_);
    MirrorProperty(control, view_.WidgetsOf(control), Property::Selection);
  }
  run(control, [&control](UserInput& in) { return in.Focus(control); });
  return false;
}

bool InputRouter::onMousePress(Control* control, QMouseEvent* event) {
  // Mouse buttons are the surface's and the frames' events; other controls
  // take their clicks as Qt delivers them. A press on a greyed control is
  // passed on by the layer to what lies under it.
  if (control != nullptr && control->kind() != Kind::Frame && control->IsUsable()) return false;
  const int button = ModelButton(event->button());
  if (button == 0) return false;
  // Relative to the control pressed, or to the surface.
  const QPointF twips = view_.PointToTwips(event->position());
  QPointer<QtFormView> view(&view_);
  try {
    view_.input().MouseDown(control, button, static_cast<float>(twips.x()),
                            static_cast<float>(twips.y()));
  } catch (const std::exception& error) {
    ReportError(error);
  }
  if (view) view->SyncFocus();
  return true;
}

bool InputRouter::onListKey(Control& control, QKeyEvent* event) {
  auto* list = qobject_cast<QListView*>(view_.WidgetOf(control));
  if (list == nullptr || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  const int count = control.ListCount();
  const int current = control.ListIndex();
  const int rowHeight = std::max(1, list->sizeHintForRow(0));
  const int page = std::max(1, list->viewport()->height() / rowHeight - 1);
  int target = -2;
  switch (event->key()) {
    case Qt::Key_Up: target = current - 1; break;
    case Qt::Key_Down: target = current + 1; break;
    case Qt::Key_PageUp: target = current - page; break;
    case Qt::Key_PageDown: target = current + page; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = count - 1; break;
    default: return false;
  }
  target = std::clamp(target, 0, count - 1);
  if (count > 0 && target != current) {
    run(control, [&control, target](UserInput& in) { return in.Pick(control, target); });
  }
  return true;
}

void InputRouter::backtab(Control& control) {
  Control* previous = view_.form().NextInTabOrder(&control, true);
  if (previous == nullptr || previous == &control) return;
  run(control, [previous](UserInput& in) { return in.Focus(*previous); });
}

}  // namespace forms::qt
