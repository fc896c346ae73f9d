// The design-time screen of Ctr_Urssaf: every constituent control with its
// caption, place, size, tab index, limits, tool tip, font and help topic.
// Control shell (src/morvanel/shell).
#pragma once

#include "morvanel/state/urssaf_screen.h"
#include "forms/form.h"

namespace morvanel::shell {

inline constexpr int kLargeurEcran = 7800;  // twips
inline constexpr int kHauteurEcran = 8400;
inline constexpr int kContexteAide = 10;  // the help topic of the screen

// Creates the constituent controls on `form` (empty), in the order of the
// Controls collection.
void CreerControles(forms::Form& form);

// The named controls of a form built by CreerControles.
[[nodiscard]] state::UrssafScreen ScreenOf(forms::Form& form);

}  // namespace morvanel::shell
