// Widget creation for the Qt binding: one widget class per control kind.
// Qt binding of the named-controls layer (src/morvanel/view/qt).
#include "morvanel/view/qt/widget_factory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

#include "morvanel/view/qt/qt_units.h"

namespace morvanel::view::qt {
namespace {

// A check box whose value belongs to the model: a click raises the model's
// Click, which toggles Value, and the mirror shows it. Qt's own toggle is
// switched off so that a refused click never shows a tick.
class ModelCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {}
};

bool IsFixedPitchName(const QString& family) {
  return family.contains(QLatin1String("Courier"), Qt::CaseInsensitive) ||
         family.contains(QLatin1String("Mono"), Qt::CaseInsensitive);
}

QLineEdit* NewLineEdit(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setDragEnabled(false);  // a drag would move text behind the model's back
  return edit;
}

QComboBox* NewCombo(QWidget* parent, ControlWidgets& out) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);  // every typed character belongs to the model
  combo->setMaxVisibleItems(8);
  out.edit = combo->lineEdit();
  out.edit->setDragEnabled(false);
  return combo;
}

QWidget* NewWidget(const Control& control, QWidget* parent, ControlWidgets& out) {
  const QString caption = ToQString(control.Text());
  switch (control.kind()) {
    case Kind::TextBox:
      out.edit = NewLineEdit(parent);
      return out.edit;
    case Kind::ComboBox:
      return NewCombo(parent, out);
    case Kind::ListBox: {
      auto* list = new QListWidget(parent);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setUniformItemSizes(true);
      return list;
    }
    case Kind::Button:
      return new QPushButton(caption, parent);
    case Kind::Label: {
      auto* label = new QLabel(caption, parent);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
    case Kind::Frame:
      return new QGroupBox(caption, parent);
    case Kind::CheckBox:
      return new ModelCheckBox(caption, parent);
    case Kind::VScrollBar: {
      auto* bar = new QScrollBar(Qt::Vertical, parent);
      bar->setSingleStep(1);
      bar->setPageStep(1);
      return bar;
    }
    case Kind::Embedded:
      return new QWidget(parent);
    case Kind::Menu:
    case Kind::MenuItem:
      return nullptr;
  }
  return nullptr;
}

bool TakesFocus(Kind kind) {
  switch (kind) {
    case Kind::TextBox:
    case Kind::ComboBox:
    case Kind::ListBox:
    case Kind::Button:
    case Kind::CheckBox:
    case Kind::VScrollBar:
      return true;
    default:
      return false;
  }
}

}  // namespace

QFont ToQFont(const Font& font) {
  const QString family = ToQString(font.name);
  QFont result;
  if (QFontDatabase::hasFamily(family)) {
    result = QFont(family);
  } else if (IsFixedPitchName(family)) {
    result = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  } else {
    result = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  }
  if (IsFixedPitchName(family)) {
    result.setFixedPitch(true);
    result.setStyleHint(QFont::Monospace);
  }
  if (font.points > 0) result.setPointSizeF(font.points);
  result.setBold(font.bold);
  return result;
}

ControlWidgets CreateWidget(const Control& control, QWidget* parent, double dpi) {
  ControlWidgets out;
  QWidget* widget = NewWidget(control, parent, out);
  if (widget == nullptr) return out;  // menus are not placed
  out.widget = widget;
  widget->setObjectName(ToQString(control.Name()));
  // A mouse button on a control is that control's, even when it ignores it:
  // only the surface and the frames show the context menu.
  if (control.kind() != Kind::Frame) widget->setAttribute(Qt::WA_NoMousePropagation);
  widget->setGeometry(TwipsToPixels(control.geometry, dpi));
  widget->setFont(ToQFont(control.font));
  if (!control.ToolTipText.empty()) widget->setToolTip(ToQString(control.ToolTipText));
  // Without a name of its own, Qt's accessibility falls back on the caption.
  if (!control.AccessibleName.empty()) widget->setAccessibleName(ToQString(control.AccessibleName));
  // Tab moves are the model's; the policy only says whether a click focuses.
  if (!TakesFocus(control.kind())) {
    widget->setFocusPolicy(Qt::NoFocus);
  } else {
    widget->setFocusPolicy(control.TabIndex >= 0 ? Qt::StrongFocus : Qt::ClickFocus);
  }
  return out;
}

}  // namespace morvanel::view::qt
