// Builds the Qt widget that draws one named control: its class by kind, its
// place in pixels, font, tool tip, accessible name and focus policy.
// Qt binding of the named-controls layer (src/morvanel/view/qt).
#pragma once

#include <QFont>

#include "morvanel/view/control.h"

class QLineEdit;
class QWidget;

namespace morvanel::view::qt {

// The widgets of one control. Owned by their Qt parent.
struct ControlWidgets {
  QWidget* widget = nullptr;  // the placed widget; nullptr for menus
  QLineEdit* edit = nullptr;  // the text part of a text box or combo
};

// Creates the widget of `control` as a child of `parent` (the surface, or the
// widget of its frame or embedded control). Menus and menu items get none:
// they are built when popped up.
[[nodiscard]] ControlWidgets CreateWidget(const Control& control, QWidget* parent, double dpi);

// The Qt font for a model font. A family missing from this system falls back
// to the system font of the same pitch, at the asked size.
[[nodiscard]] QFont ToQFont(const Font& font);

}  // namespace morvanel::view::qt
