// The screen modes of Ctr_Urssaf: greyed for a search (Griser), enabled for
// work on one centre (Afficher), emptied back to the search (Vider_Donnees),
// and the rights that hide the editing buttons for good. Control shell.
//
// States of the screen (the buttons' detail belongs to the command workflow):
//   Search        Griser, Vider_Donnees, Init with an empty code box.
//                 Only the code box, the sigle drop-down, their label,
//                 "Ajouter" and "Sortir" keep their state; all else is off.
//   Centre shown  Afficher then Afficher_Donnees (a lookup by code or sigle).
//   Creation      Afficher with ModeAjout set ("Ajouter").
// These procedures change Enabled (and the two sigle fields' visibility),
// never the visibility of the buttons Appliquer_Droits hid.
#pragma once

#include <functional>
#include <utility>
#include "morvanel/state/state_fwd.h"

namespace components {
class Adresse;
}

namespace morvanel::shell {

// What the screen modes work with. Built from the control's context in one
// place (ScreenModesDeps::From). Refers to everything, owns nothing.
struct ScreenModesDeps {
  state::UrssafScreen& ecran;
  // ModeAjout and DroitsEcran.
  state::InstanceState& etat;
  components::Adresse& adresse;  // Ctr_AdresseUrssaf
  // Enabling the screen brings the rate editor back to browsing.
  std::function<void()> RapportFalse;

  [[nodiscard]] static ScreenModesDeps From(state::UrssafContext& ctx);
};

class ScreenModes {
 public:
  explicit ScreenModes(ScreenModesDeps deps) : d_(std::move(deps)) {}

  void Afficher();
  void Griser();
  void Vider_Donnees();
  // Unless the user's level is 2: hides the six editing buttons and makes
  // every field but the search's read-only.
  void Appliquer_Droits();

 private:
  ScreenModesDeps d_;
};

}  // namespace morvanel::shell
