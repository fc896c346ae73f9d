// Widget creation for the Qt binding: one widget class per control kind.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/widget_factory.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStringList>
#include <QWidget>

#include "forms/qt/list_model.h"
#include "forms/qt/qt_units.h"
#include "forms/qt/uniform_list_view.h"

namespace forms::qt {
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

// A combo whose entries belong to the model: a read-only one opens no list
// (a pick would be refused anyway, and a list offering choices misleads).
class ModelComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

  void showPopup() override {
    if (property(kReadOnlyProperty).toBool()) return;
    QComboBox::showPopup();
  }
};

// An embedded control is a plain widget holding its fields: a screen reader
// announces it as a group of fields under its name, not as a bare pane.
class EmbeddedArea : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
};

QAccessibleInterface* EmbeddedAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String(EmbeddedArea::staticMetaObject.className())) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Grouping);
}

QWidget* NewEmbedded(QWidget* parent) {
  // Asked first: a factory installed later (Qt's widgets install theirs
  // with each application) would otherwise answer for it as a bare pane.
  QAccessible::removeFactory(EmbeddedAccessible);
  QAccessible::installFactory(EmbeddedAccessible);
  return new EmbeddedArea(parent);
}

bool IsFixedPitchName(const QString& family) {
  return family.contains(QLatin1String("Courier"), Qt::CaseInsensitive) ||
         family.contains(QLatin1String("Mono"), Qt::CaseInsensitive);
}

// The screens were drawn with fonts of another desktop. The families with
// the same character widths come first, so that captions fit the boxes they
// were measured for; then the narrowest look-alikes.
QStringList CandidateFamilies(const QString& family) {
  if (family.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0) {
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("DejaVu Sans Condensed")};
  }
  if (family.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0) {
    return {QStringLiteral("Liberation Mono"), QStringLiteral("Courier New"),
            QStringLiteral("DejaVu Sans Mono")};
  }
  return {family};
}

QLineEdit* NewLineEdit(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setDragEnabled(false);  // a drag would move text behind the model's back
  return edit;
}

QComboBox* NewCombo(QWidget* parent, ControlWidgets& out) {
  auto* combo = new ModelComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);  // every typed character belongs to the model
  combo->setMaxVisibleItems(8);
  out.edit = combo->lineEdit();
  out.edit->setDragEnabled(false);
  return combo;
}

// A view over the control's own entries: a history of 32767 lines shows
// without one widget item per line, and its layout costs the lines shown.
QListView* NewList(const Control& control, QWidget* parent) {
  auto* list = new UniformListView(parent);
  list->setModel(new ControlListModel(control, list));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  return list;
}

QWidget* NewWidget(const Control& control, QWidget* parent, ControlWidgets& out) {
  const QString caption = ToQString(control.Text());
  switch (control.kind()) {
    case Kind::TextBox: out.edit = NewLineEdit(parent); return out.edit;
    case Kind::ComboBox: return NewCombo(parent, out);
    case Kind::ListBox: return NewList(control, parent);
    case Kind::Button: return new QPushButton(caption, parent);
    case Kind::Label: {
      auto* label = new QLabel(caption, parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
    case Kind::Frame: return new QGroupBox(caption, parent);
    case Kind::CheckBox: return new ModelCheckBox(caption, parent);
    case Kind::VScrollBar: {
      auto* bar = new QScrollBar(Qt::Vertical, parent);
      bar->setSingleStep(1);
      bar->setPageStep(1);
      return bar;
    }
    case Kind::Embedded: return NewEmbedded(parent);
    case Kind::Menu:
    case Kind::MenuItem: return nullptr;
  }
  return nullptr;
}

}  // namespace

QFont ToQFont(const Font& font, double dpi) {
  const QString family = ToQString(font.name);
  const bool fixed = IsFixedPitchName(family);
  QFont result =
      QFontDatabase::systemFont(fixed ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont);
  for (const QString& candidate : CandidateFamilies(family)) {
    if (QFontDatabase::hasFamily(candidate)) {
      result = QFont(candidate);
      break;
    }
  }
  if (fixed) {
    result.setFixedPitch(true);
    result.setStyleHint(QFont::Monospace);
  }
  // In pixels at the dpi the twips are turned with: text and boxes then
  // grow together, whatever the screen's own font scaling says.
  if (font.points > 0)
    result.setPixelSize(std::max(1, static_cast<int>(std::lround(font.points * dpi / 72.0))));
  result.setBold(font.bold);
  return result;
}

QString ScreenFontFamily() { return QFontInfo(ToQFont(Font{}, 96.0)).family(); }

namespace {

// Width the caption of `widget` may take, or -1 when it has no one-line
// caption to fit.
int CaptionRoom(QWidget& widget) {
  if (auto* label = qobject_cast<QLabel*>(&widget)) {
    return label->wordWrap() ? -1 : label->contentsRect().width();
  }
  if (auto* button = qobject_cast<QPushButton*>(&widget)) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    // A little air between the text and the button's edges.
    constexpr int kAir = 4;
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width() -
           kAir;
  }
  if (auto* check = qobject_cast<QCheckBox*>(&widget)) {
    // The box and the gap before the text, as the style lays them out.
    const int decoration =
        check->sizeHint().width() - check->fontMetrics().horizontalAdvance(check->text());
    return check->width() - decoration;
  }
  return -1;
}

QString CaptionOf(QWidget& widget) {
  if (auto* label = qobject_cast<QLabel*>(&widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return button->text();
  return {};
}

// The widget's font, drawn narrower until `text` takes no more than `room`
// pixels (room <= 0: as it is), but never below this share of its width:
// past it the text would be harder to read than a cut one.
void NarrowToFit(QWidget& widget, const QString& text, int room) {
  constexpr int kNarrowest = 75;
  QFont font = widget.font();
  font.setStretch(QFont::Unstretched);
  int stretch = QFont::Unstretched;
  if (room > 0) {
    while (stretch > kNarrowest && QFontMetrics(font).boundingRect(text).width() > room) {
      stretch -= 2;
      font.setStretch(stretch);
    }
  }
  if (widget.font() != font) widget.setFont(font);
}

}  // namespace

void FitCaption(QWidget& widget) { NarrowToFit(widget, CaptionOf(widget), CaptionRoom(widget)); }

void FitBoxText(QLineEdit& edit) {
  // Inside the frame, less the 2 px a line edit keeps on either side.
  const int frame =
      edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit) : 0;
  const QMargins margins = edit.textMargins();
  const int room = edit.width() - 2 * frame - 4 - margins.left() - margins.right();
  NarrowToFit(edit, edit.text(), room);
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
  widget->setFont(ToQFont(control.font, dpi));
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    // A caption wraps only where the label has room for a second line;
    // otherwise the wrapped words would be cut off below.
    label->setWordWrap(label->height() >= 2 * label->fontMetrics().lineSpacing());
  }
  if (!control.ToolTipText.empty()) widget->setToolTip(ToQString(control.ToolTipText));
  // Without a name of its own, Qt's accessibility falls back on the caption.
  if (!control.AccessibleName.empty()) {
    widget->setAccessibleName(ToQString(control.AccessibleName));
    // Qt names a combo by its value on Linux; its text part, which takes
    // the focus, says what the field is.
    if (out.edit != nullptr && out.edit != widget)
      out.edit->setAccessibleName(ToQString(control.AccessibleName));
  }
  // Tab moves are the model's; the policy only says whether a click focuses.
  if (!KindTakesFocus(control.kind())) {
    widget->setFocusPolicy(Qt::NoFocus);
  } else {
    widget->setFocusPolicy(control.TabIndex >= 0 ? Qt::StrongFocus : Qt::ClickFocus);
  }
  return out;
}

}  // namespace forms::qt

#include "widget_factory.moc"
