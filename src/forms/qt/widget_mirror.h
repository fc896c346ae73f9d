// Shows the model's state on the widgets of a control: the model is the one
// source of truth, the widgets only mirror it. Signals of the widgets are
// blocked while mirroring, so nothing written here reads as user input.
// Qt binding of the named-controls layer (src/forms/qt).
#pragma once

class QLineEdit;

#include "forms/control.h"
#include "forms/qt/widget_factory.h"

namespace forms::qt {

// Writes `property` of `control` onto its widgets. Focus is the form view's
// business and is ignored here.
void MirrorProperty(const Control& control, const ControlWidgets& widgets, Property property);
// Writes every property (a freshly built widget, or a resync after input).
void MirrorAll(const Control& control, const ControlWidgets& widgets);

// True when `edit` (a text box or a combo's text part) is where its window's
// keyboard goes. Only then does its cursor mean anything to the model: a box
// without the focus shows its text from the start.
[[nodiscard]] bool HasQtFocus(const QLineEdit* edit);

// True when the text part shows something other than the model's text.
[[nodiscard]] bool TextDiverges(const Control& control, const ControlWidgets& widgets);

// The cursor and selection of the text part, as the model counts them.
struct CharSelection {
  int start = 0;
  int length = 0;
};
[[nodiscard]] CharSelection SelectionOf(const ControlWidgets& widgets);

}  // namespace forms::qt
