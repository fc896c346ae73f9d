// Model-to-widget mirroring for the Qt binding, one function per property.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/widget_mirror.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "forms/qt/list_model.h"
#include "forms/qt/qt_units.h"

namespace forms::qt {
namespace {

QStringList ItemsOf(const Control& control) {
  QStringList items;
  items.reserve(control.ListCount());
  for (const std::string& item : control.Items()) items.append(ToQString(item));
  return items;
}

void MirrorSelection(const Control& control, QLineEdit* edit) {
  if (!HasQtFocus(edit)) {
    // A box without the focus shows its text from the start, as boxes do on
    // every desktop; the model keeps its cursor, which comes back with the
    // focus (or gives way to where the user clicks).
    if (edit->hasSelectedText() || edit->cursorPosition() != 0) {
      const QSignalBlocker blocker(edit);
      edit->setCursorPosition(0);
    }
    return;
  }
  const QString text = edit->text();
  const int start = CharsToUtf16(text, control.SelStart());
  const int end = CharsToUtf16(text, control.SelStart() + control.SelLength());
  const QSignalBlocker blocker(edit);
  if (end > start) {
    // Keep the direction the user selected in when the range is the same.
    if (edit->selectionStart() == start && edit->selectionEnd() == end) return;
    edit->setSelection(start, end - start);
  } else if (edit->hasSelectedText() || edit->cursorPosition() != start) {
    edit->setCursorPosition(start);
  }
}

void MirrorEditText(const Control& control, QLineEdit* edit) {
  const QString text = ToQString(control.Text());
  if (edit->text() != text) {
    const QSignalBlocker blocker(edit);
    edit->setText(text);
    FitBoxText(*edit);
  }
  MirrorSelection(control, edit);
}

// A combo's entry and edit text: picking the entry rewrites the edit text in
// Qt, so the model's text is written back after it.
void MirrorComboIndex(const Control& control, QComboBox* combo, QLineEdit* edit) {
  {
    const QSignalBlocker blocker(combo);
    if (combo->currentIndex() != control.ListIndex()) combo->setCurrentIndex(control.ListIndex());
  }
  MirrorEditText(control, edit);
}

// The height a widget was laid out with, before any fitting.
int LaidOutHeight(QWidget* widget) {
  QVariant laidOut = widget->property("laidOutHeight");
  if (!laidOut.isValid()) {
    laidOut = widget->height();
    widget->setProperty("laidOutHeight", laidOut);
  }
  return laidOut.toInt();
}

// A list shows whole lines only: its height, as laid out, is cut down to
// the lines that fit in it whole, at whatever size its font is drawn. A
// scroll bar laid out beside it (same top, same height) ends with it.
void FitWholeLines(QListView* list) {
  if (list->model()->rowCount() == 0) return;
  const int rowHeight = list->sizeHintForRow(0);
  if (rowHeight <= 0) return;
  const int laidOut = LaidOutHeight(list);
  const int frame = 2 * list->frameWidth();
  const int rows = std::max(1, (laidOut - frame) / rowHeight);
  const int height = rows * rowHeight + frame;
  if (height != list->height()) list->resize(list->width(), height);
  QWidget* parent = list->parentWidget();
  if (parent == nullptr) return;
  for (QScrollBar* bar : parent->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly)) {
    if (bar->y() != list->y() || LaidOutHeight(bar) != laidOut) continue;
    if (bar->height() != height) bar->resize(bar->width(), height);
  }
}

void MirrorList(const Control& control, const ControlWidgets& widgets) {
  if (auto* list = qobject_cast<QListView*>(widgets.widget)) {
    if (auto* model = qobject_cast<ControlListModel*>(list->model())) {
      const QSignalBlocker blocker(list);
      model->Sync();
    }
    FitWholeLines(list);
  } else if (auto* combo = qobject_cast<QComboBox*>(widgets.widget)) {
    {
      const QSignalBlocker blocker(combo);
      combo->clear();
      combo->addItems(ItemsOf(control));
    }
    MirrorComboIndex(control, combo, widgets.edit);
    return;
  }
  MirrorProperty(control, widgets, Property::ListIndex);
}

void MirrorListRow(const Control& control, QListView* list) {
  const QSignalBlocker blocker(list);
  QItemSelectionModel* selection = list->selectionModel();
  const int row = control.ListIndex();
  if (row < 0 || row >= list->model()->rowCount()) {
    if (selection->hasSelection() || selection->currentIndex().isValid()) selection->clear();
    return;
  }
  const QModelIndex index = list->model()->index(row, 0);
  if (selection->currentIndex() == index && selection->isSelected(index)) return;
  selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  list->scrollTo(index);
}

void MirrorListIndex(const Control& control, const ControlWidgets& widgets) {
  if (auto* list = qobject_cast<QListView*>(widgets.widget)) {
    MirrorListRow(control, list);
  } else if (auto* combo = qobject_cast<QComboBox*>(widgets.widget)) {
    MirrorComboIndex(control, combo, widgets.edit);
  }
}

void MirrorCaption(const Control& control, QWidget* widget) {
  const QString caption = ToQString(control.Text());
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(caption);  // push buttons and check boxes
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(caption);
  } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
    frame->setTitle(caption);
  }
  FitCaption(*widget);
}

// The model refuses a read-only control's edits; the widget shows it too:
// a box keeps its usual look (not greyed) without a text cursor, and a combo
// opens no list to pick from (its widget asks this property).
void MirrorReadOnly(const Control& control, const ControlWidgets& widgets) {
  if (widgets.edit != nullptr) widgets.edit->setReadOnly(control.ReadOnly());
  widgets.widget->setProperty(kReadOnlyProperty, control.ReadOnly());
}

void MirrorValue(const Control& control, QWidget* widget) {
  if (auto* check = qobject_cast<QCheckBox*>(widget)) {
    const QSignalBlocker blocker(check);
    const int value = control.Value();
    check->setCheckState(value == 0 ? Qt::Unchecked
                                    : (value == 1 ? Qt::Checked : Qt::PartiallyChecked));
  } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
    const QSignalBlocker blocker(bar);
    bar->setValue(control.Value());
  }
}

void MirrorMax(const Control& control, QWidget* widget) {
  if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
    const QSignalBlocker blocker(bar);
    bar->setRange(0, std::max(0, control.Max()));
    bar->setValue(control.Value());
  }
}

}  // namespace

bool HasQtFocus(const QLineEdit* edit) {
  if (edit == nullptr) return false;
  const QWidget* focused = edit->window()->focusWidget();
  if (focused == nullptr) return false;
  // A combo and its text part stand for each other, whichever is the proxy.
  return focused == edit || focused->focusProxy() == edit || edit->focusProxy() == focused;
}

void MirrorProperty(const Control& control, const ControlWidgets& widgets, Property property) {
  QWidget* widget = widgets.widget;
  if (widget == nullptr) return;  // menus: built from the model when shown
  switch (property) {
    case Property::Text:
      if (widgets.edit != nullptr) {
        MirrorEditText(control, widgets.edit);
      } else {
        MirrorCaption(control, widget);
      }
      break;
    case Property::Selection:
      if (widgets.edit != nullptr) MirrorSelection(control, widgets.edit);
      break;
    case Property::Enabled: widget->setEnabled(control.Enabled()); break;
    case Property::Visible: widget->setVisible(control.Visible()); break;
    case Property::ReadOnly: MirrorReadOnly(control, widgets); break;
    case Property::List: MirrorList(control, widgets); break;
    case Property::ListIndex: MirrorListIndex(control, widgets); break;
    case Property::Value: MirrorValue(control, widget); break;
    case Property::Max: MirrorMax(control, widget); break;
    case Property::Focus: break;
  }
}

void MirrorAll(const Control& control, const ControlWidgets& widgets) {
  for (Property property : {Property::Enabled, Property::Visible, Property::ReadOnly, Property::Max,
                            Property::Value, Property::List, Property::Text}) {
    MirrorProperty(control, widgets, property);
  }
}

bool TextDiverges(const Control& control, const ControlWidgets& widgets) {
  return widgets.edit != nullptr && widgets.edit->text() != ToQString(control.Text());
}

CharSelection SelectionOf(const ControlWidgets& widgets) {
  QLineEdit* edit = widgets.edit;
  if (edit == nullptr) return {};
  const QString text = edit->text();
  if (!edit->hasSelectedText()) return {Utf16ToChars(text, edit->cursorPosition()), 0};
  const int start = Utf16ToChars(text, edit->selectionStart());
  return {start, Utf16ToChars(text, edit->selectionEnd()) - start};
}

}  // namespace forms::qt
