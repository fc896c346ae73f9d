// InputRouter, keyboard and text part: keys in every kind of control, and
// the ways text reaches a box besides typing (paste, drop, cut, middle
// click, input methods), all through the model's key rule.
// Qt binding of the named-controls layer (src/forms/qt).
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QRegularExpression>

#include "forms/qt/input_router.h"
#include "forms/qt/qt_form_view.h"
#include "forms/qt/qt_units.h"
#include "forms/qt/widget_mirror.h"

namespace forms::qt {
namespace {

bool IsEdit(const Control& control) {
  return control.kind() == Kind::TextBox || control.kind() == Kind::ComboBox;
}

bool HasPlainModifiers(const QKeyEvent& event) {
  return !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

QString OneLine(const QString& text) {
  static const QRegularExpression kBreaks(QStringLiteral("(\\r\\n|[\\r\\n\\t])"));
  QString line = text;
  while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r'))) line.chop(1);
  return line.replace(kBreaks, QStringLiteral(" "));
}

bool IsTyping(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.isEmpty()) return false;
  const Qt::KeyboardModifiers mods = event.modifiers();
  // Ctrl+Alt is how some keyboards reach their third-level characters.
  const bool altGr = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
  if (!altGr && (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) return false;
  for (const QChar c : text) {
    if (!c.isPrint() && !c.isSurrogate()) return false;
  }
  return true;
}

bool InputRouter::onKeyPress(Control& control, QObject* watched, QKeyEvent* event) {
  if (onCommonKey(control, event)) return true;
  if (IsEdit(control)) return onEditKey(control, watched, event);
  if (control.kind() == Kind::ListBox && onListKey(control, event)) return true;
  if (IsTyping(*event)) {
    // Space on a button or check box is a character too: the model clicks.
    const QString text = event->text();
    run(control, [&control, &text](UserInput& in) {
      for (const char32_t cp : text.toUcs4()) in.Key(control, static_cast<int>(cp));
      return true;
    });
    return true;
  }
  return false;  // arrows on a scroll bar, and the like: Qt's own handling
}

bool InputRouter::onCommonKey(Control& control, QKeyEvent* event) {
  const int key = event->key();
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && shift && HasPlainModifiers(*event))) {
    backtab(control);
    return true;
  }
  int code = 0;
  if (key == Qt::Key_F1) {
    run(control, [&control](UserInput& in) { return in.Help(control); });
    return true;
  }
  if (!HasPlainModifiers(*event)) return false;
  switch (key) {
    case Qt::Key_Tab: code = kKeyTab; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: code = kKeyEnter; break;
    case Qt::Key_Escape: code = kKeyEscape; break;
    case Qt::Key_Backspace: code = kKeyBackspace; break;
    default: return false;
  }
  run(control, [&control, code](UserInput& in) { return in.Key(control, code); });
  return true;
}

bool InputRouter::onEditKey(Control& control, QObject* watched, QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    paste(control, QGuiApplication::clipboard()->text());
    return true;
  }
  if (event->matches(QKeySequence::Cut)) {
    cut(control);
    return true;
  }
  if (event->matches(QKeySequence::Delete) ||
      (event->key() == Qt::Key_Delete && HasPlainModifiers(*event))) {
    run(control, [&control](UserInput& in) { return in.Delete(control); });
    return true;
  }
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    return true;  // the model keeps no undo history: nothing to go back to
  }
  if (control.kind() == Kind::ComboBox && HasPlainModifiers(*event) &&
      (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
    // Arrows walk the entries of a drop-down combo: each step is a pick.
    const int target = control.ListIndex() + (event->key() == Qt::Key_Up ? -1 : 1);
    if (target >= 0 && target < control.ListCount()) {
      run(control, [&control, target](UserInput& in) { return in.Pick(control, target); });
    }
    return true;
  }
  if (IsTyping(*event)) {
    const std::string text = ToUtf8(event->text());
    run(control, [&control, &text](UserInput& in) { return in.Type(control, text); });
    return true;
  }
  forwardToWidget(control, watched, event);
  return true;
}

void InputRouter::forwardToWidget(Control& control, QObject* watched, QKeyEvent* event) {
  QPointer<QtFormView> view(&view_);
  QObject* previous = forwarding_;
  forwarding_ = watched;
  QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                 event->nativeVirtualKey(), event->nativeModifiers(), event->text(),
                 event->isAutoRepeat(), static_cast<quint16>(event->count()));
  QCoreApplication::sendEvent(watched, &copy);
  if (!view) return;
  forwarding_ = previous;
  const ControlWidgets widgets = view_.WidgetsOf(control);
  if (TextDiverges(control, widgets)) {
    view_.Resync(control);  // an edit the model did not make: undone
  } else {
    pushSelection(control);
  }
}

void InputRouter::paste(Control& control, const QString& text) {
  const std::string line = ToUtf8(OneLine(text));
  if (line.empty()) return;
  run(control, [&control, &line](UserInput& in) { return in.Paste(control, line); });
}

void InputRouter::cut(Control& control) {
  if (control.ReadOnly()) return;  // nothing leaves the box, as in any read-only box
  if (control.SelLength() == 0 && SelectionOf(view_.WidgetsOf(control)).length == 0) return;
  copy(control);
  run(control, [&control](UserInput& in) { return in.Delete(control); });
}

void InputRouter::copy(Control& control) {
  const ControlWidgets widgets = view_.WidgetsOf(control);
  if (widgets.edit != nullptr && widgets.edit->hasSelectedText()) {
    QGuiApplication::clipboard()->setText(widgets.edit->selectedText());
  }
}

bool InputRouter::onMiddleRelease(Control& control, QMouseEvent* event) {
  if (event->button() != Qt::MiddleButton || !IsEdit(control)) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard->supportsSelection()) paste(control, clipboard->text(QClipboard::Selection));
  return true;
}

bool InputRouter::onDrop(Control& control, QObject* watched, QDropEvent* event) {
  const ControlWidgets widgets = view_.WidgetsOf(control);
  if (widgets.edit == nullptr) return false;
  if (!event->mimeData()->hasText()) return true;  // nothing a box could take
  // The text goes where it was dropped (a combo's drop lands on the combo).
  QPoint at = event->position().toPoint();
  if (watched != widgets.edit) at = widgets.edit->mapFrom(static_cast<QWidget*>(watched), at);
  const int position = widgets.edit->cursorPositionAt(at);
  {
    const QtFormView::BindingScope scope(view_);
    control.SetSelection(Utf16ToChars(widgets.edit->text(), position), 0);
  }
  const QString text = event->mimeData()->text();
  event->acceptProposedAction();
  paste(control, text);
  return true;
}

bool InputRouter::onContextMenu(Control& control, QContextMenuEvent* event) {
  const ControlWidgets widgets = view_.WidgetsOf(control);
  if (widgets.edit == nullptr) return false;
  QPointer<QtFormView> view(&view_);
  pushSelection(control);
  const bool usable = control.IsUsable() && !control.ReadOnly();
  const bool selected = widgets.edit->hasSelectedText();
  QMenu menu;
  QAction* cutAction = menu.addAction(QStringLiteral("Couper"));
  cutAction->setEnabled(usable && selected);
  QAction* copyAction = menu.addAction(QStringLiteral("Copier"));
  copyAction->setEnabled(selected);
  QAction* pasteAction = menu.addAction(QStringLiteral("Coller"));
  pasteAction->setEnabled(usable && !QGuiApplication::clipboard()->text().isEmpty());
  menu.addSeparator();
  QAction* selectAllAction = menu.addAction(QStringLiteral("Tout sélectionner"));
  selectAllAction->setEnabled(!widgets.edit->text().isEmpty());
  QAction* chosen = menu.exec(event->globalPos());
  if (!view || chosen == nullptr) return true;
  if (chosen == cutAction) {
    cut(control);
  } else if (chosen == copyAction) {
    copy(control);
  } else if (chosen == pasteAction) {
    paste(control, QGuiApplication::clipboard()->text());
  } else if (chosen == selectAllAction) {
    widgets.edit->selectAll();  // pushed into the model by selectionChanged
  }
  return true;
}

bool InputRouter::onInputMethod(Control& control, QObject* watched, QInputMethodEvent* event) {
  if (event->commitString().isEmpty() || !IsEdit(control)) return false;
  // The committed text is typed through the model; what is still being
  // composed goes on to the widget, which only shows it.
  QPointer<QtFormView> view(&view_);
  const std::string text = ToUtf8(event->commitString());
  run(control, [&control, &text](UserInput& in) { return in.Type(control, text); });
  if (!view) return true;
  QInputMethodEvent preedit(event->preeditString(), event->attributes());
  QObject* previous = forwarding_;
  forwarding_ = watched;
  QCoreApplication::sendEvent(watched, &preedit);
  forwarding_ = previous;
  return true;
}

}  // namespace forms::qt
