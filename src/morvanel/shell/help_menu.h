// Help of Ctr_Urssaf: the help file beside the control library (set up when
// a control is created, closed with the last one), and the context menu
// "Aide" whose item opens the HTML page of the screen. Control shell.
#pragma once

#include <string>
#include <string_view>

#include "morvanel/state/binary_path.h"
#include "morvanel/state/state_fwd.h"
namespace forms {
class Services;
}

namespace morvanel::shell {

// What the help works with. Built from the control's context in one place
// (HelpMenuDeps::From). Refers to everything, owns nothing.
struct HelpMenuDeps {
  // The surface, Cdr_Rapport, Mnu_Aide and Mnu_Sommaire.
  state::UrssafScreen& ecran;
  forms::Services& services;
  // helpFile, helpWindowHandle, the HTML help, TheClient and TheDatabase.
  state::LibraryState& lib;

  [[nodiscard]] static HelpMenuDeps From(state::UrssafContext& ctx);
};

inline constexpr const char* kNomFichierAide = "Morvanel.HLP";

// The help file in folder `dossier`: "Morvanel.HLP" after one separator,
// never two (a folder that already ends in "/" is used as it is). Blanks at
// the end of the folder are dropped.
[[nodiscard]] std::string CheminFichierAide(std::string_view dossier);

class HelpMenu {
 public:
  explicit HelpMenu(HelpMenuDeps deps) : d_(deps) {}
  // Installs the mouse handlers of the surface and the frame, and the menu item's.
  void Attach();

  // Keeps the control's window handle and fixes the library's help file.
  void MettreEnPlace(long long fenetre);
  // Closes the help-file window; called when the last control goes.
  void Fermer();

  // Right button: the context menu, whatever the screen's mode.
  void UserControl_MouseDown(int button, int shift, float x, float y);
  // Same for the frame; x and y are relative to it.
  void Cdr_Rapport_MouseDown(int button, int shift, float x, float y);
  void Mnu_Sommaire_Click();

 private:
  void MenuContextuel(int button, float x, float y);
  HelpMenuDeps d_;
};

}  // namespace morvanel::shell
