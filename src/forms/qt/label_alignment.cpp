// Labels drawn on the line of the box beside them.
// Qt binding of the named-controls layer (src/forms/qt).
//
// The screens were laid out for boxes that draw their text at the top, a
// few pixels under the frame; a line edit centres it instead, so a label
// placed at its box's top shows its caption higher than the box's text.
// Moving the label in twips would suit one style and one font only: the
// label keeps its place and its text is pushed down (or, when the label
// starts below the box's text, the label moves up) to the box's baseline.
#include "forms/qt/label_alignment.h"

#include <algorithm>
#include <climits>

#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include "forms/qt/qt_units.h"

namespace forms::qt {

const Control* BoxBesideLabel(const Form& form, const Control& label) {
  const Rect& l = label.geometry;
  const Control* right = nullptr;
  const Control* left = nullptr;
  int rightGap = INT_MAX;
  int leftGap = INT_MAX;
  for (const auto& c : form.AllControls()) {
    if (c->kind() != Kind::TextBox && c->kind() != Kind::ComboBox) continue;
    if (c->Container() != label.Container() || c->Owner() != label.Owner()) continue;
    const Rect& b = c->geometry;
    if (b.top >= l.top + l.height || l.top >= b.top + b.height) continue;  // another row
    if (2 * b.left + b.width >= 2 * l.left + l.width) {
      const int gap = std::max(0, b.left - (l.left + l.width));
      if (gap < rightGap) {
        right = c.get();
        rightGap = gap;
      }
    } else {
      const int gap = std::max(0, l.left - (b.left + b.width));
      if (gap < leftGap) {
        left = c.get();
        leftGap = gap;
      }
    }
  }
  // A caption comes before what it names; one after a box names it only
  // when nothing follows.
  return right != nullptr ? right : left;
}

int TextBaseline(const QLineEdit& edit) {
  QStyleOptionFrame panel;
  panel.initFrom(&edit);
  panel.lineWidth =
      edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, &edit) : 0;
  panel.midLineWidth = 0;
  panel.state |= QStyle::State_Sunken;
  const QRect r = edit.style()
                      ->subElementRect(QStyle::SE_LineEditContents, &panel, &edit)
                      .marginsRemoved(edit.textMargins());
  const QFontMetrics metrics = edit.fontMetrics();
  // As QLineEdit centres its line (Qt's own rounding).
  const int top = r.y() + (r.height() - metrics.height() + 1) / 2;
  return top + metrics.ascent();
}

void LineUpLabels(const Form& form, const std::function<ControlWidgets(const Control&)>& widgetsOf,
                  double dpi) {
  for (const auto& c : form.AllControls()) {
    if (c->kind() != Kind::Label) continue;
    auto* label = qobject_cast<QLabel*>(widgetsOf(*c).widget);
    if (label == nullptr || label->wordWrap()) continue;  // a paragraph names no box
    const Control* box = BoxBesideLabel(form, *c);
    if (box == nullptr) continue;
    const ControlWidgets boxWidgets = widgetsOf(*box);
    if (boxWidgets.edit == nullptr || label->parentWidget() == nullptr) continue;
    label->setBuddy(boxWidgets.widget);
    const QFontMetrics metrics = label->fontMetrics();
    const int baseline =
        boxWidgets.edit->mapTo(label->parentWidget(), QPoint(0, TextBaseline(*boxWidgets.edit)))
            .y();
    const int textTop = baseline - metrics.ascent();
    QRect place = TwipsToPixels(c->geometry, dpi);
    int margin = textTop - place.top();
    if (margin < 0) {
      place.moveTop(textTop);
      margin = 0;
    }
    // Accented capitals ("É") rise above the font's own height.
    const int textHeight =
        std::max(metrics.height(),
                 metrics.boundingRect(QRect(0, 0, 10000, 10000), 0, label->text()).height());
    place.setHeight(std::max(place.height(), margin + textHeight));
    label->setGeometry(place);
    label->setContentsMargins(0, margin, 0, 0);
  }
}

}  // namespace forms::qt
