// Labels beside text boxes: a label's text is drawn on the line of the text
// of the box it names, and the label becomes the box's buddy (what screen
// readers announce for a box without a name of its own).
// Qt binding of the named-controls layer (src/forms/qt).
#pragma once

#include <functional>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/qt/widget_factory.h"

class QLineEdit;

namespace forms::qt {

// The box a one-line label names: a text box or combo of the same container
// whose row overlaps the label's, the nearest on its right, else the
// nearest on its left. nullptr when there is none.
[[nodiscard]] const Control* BoxBesideLabel(const Form& form, const Control& label);

// Where the text of `edit` sits: the y of its baseline in `edit`'s own
// coordinates, as a line edit centres one line of its font.
[[nodiscard]] int TextBaseline(const QLineEdit& edit);

// Draws the caption of each label of `form` on the baseline of the box
// beside it: the label keeps its place and grows down only as far as its
// text needs. `widgetsOf` gives the widgets of a control.
void LineUpLabels(const Form& form, const std::function<ControlWidgets(const Control&)>& widgetsOf,
                  double dpi);

}  // namespace forms::qt
