// QtScreen: the scenario's control inside a host window on the Qt binding.
// Actions arrive as real Qt input (keys to the focused widget, clicks at a
// widget's centre, wheel notches, the close box), so the binding's own
// routing, focus chain and message boxes are what a scenario checks.
#pragma once

#include <memory>

#include "scenario_screen.h"

namespace forms {
class Services;
}
namespace morvanel::shell {
class Ctr_Urssaf;
}

namespace scenario {

// The application the windows need, kept alive by the result; the
// offscreen platform unless a display is given.
[[nodiscard]] std::shared_ptr<void> StartQt(int& argc, char** argv);

// The window is shown at once (offscreen when no display is given).
[[nodiscard]] std::unique_ptr<Screen> MakeQtScreen(morvanel::shell::Ctr_Urssaf& control,
                                                   forms::Services& services);

}  // namespace scenario
