// Builds the Qt widget that draws one named control: its class by kind, its
// place in pixels, font, tool tip, accessible name and focus policy.
// Qt binding of the named-controls layer (src/forms/qt).
#pragma once

#include <QFont>

#include "forms/control.h"

class QLineEdit;
class QWidget;

namespace forms::qt {

// The widgets of one control. Owned by their Qt parent.
struct ControlWidgets {
  QWidget* widget = nullptr;  // the placed widget; nullptr for menus
  QLineEdit* edit = nullptr;  // the text part of a text box or combo
};

// The dynamic property holding a control's read-only state on its widget;
// a combo asks it before it opens its list.
inline constexpr char kReadOnlyProperty[] = "morvanelReadOnly";

// Creates the widget of `control` as a child of `parent` (the surface, or the
// widget of its frame or embedded control). Menus and menu items get none:
// they are built when popped up.
[[nodiscard]] ControlWidgets CreateWidget(const Control& control, QWidget* parent, double dpi);

// The Qt font for a model font, sized in pixels at `dpi` (the dpi the
// control's twips are turned with). "MS Sans Serif" and "Courier New" are
// drawn with installed families of the same widths when there are some; a
// family missing from this system falls back to the system font of the same
// pitch.
[[nodiscard]] QFont ToQFont(const Font& font, double dpi);

// Draws the text of a box a little narrower when it is wider than the box
// (a long e-mail address), so that it shows whole; a text that fits is drawn
// in the box's own font. Called again whenever the text changes.
void FitBoxText(QLineEdit& edit);

// The family the screens' text is drawn with ("MS Sans Serif" as this
// system draws it). A host window that uses it looks of one piece with the
// control on it.
[[nodiscard]] QString ScreenFontFamily();

// Draws the caption of a one-line label, a push button or a check box a
// little narrower when it is wider than its box (the screens' captions were
// measured with a narrower font), so that it shows whole. Called again
// whenever the caption changes.
void FitCaption(QWidget& widget);

}  // namespace forms::qt
