// The list of all centres behind the sigle drop-down (Remplir_CentreUrssaf),
// and the database routine run after a centre is written or deleted
// (Lancer_UNIPG). Centre data subsystem.
#pragma once
#include "morvanel/state/state_fwd.h"

namespace morvanel::data {

// What the centre list works with. Built from the control's context in one
// place (CentreListDeps::From). Refers to everything, owns nothing.
struct CentreListDeps {
  // Cbo_SigleCtrUrssaf and Txt_CodCtrUrssaf.
  state::UrssafScreen& ecran;
  // ListeCentres.
  state::InstanceState& etat;
  // TheDatabase and F_Compteur.
  state::LibraryState& lib;

  [[nodiscard]] static CentreListDeps From(state::UrssafContext& ctx);
};

class CentreList {
 public:
  explicit CentreList(CentreListDeps deps) : d_(deps) {}

  // ListeCentres = every centre in sigle order (value 1 code, value 2
  // sigle); the drop-down gets the sigles, line k for attribute k + 1. The
  // only centre of the file is put into the code box, which shows it, when
  // its code can be shown.
  void Remplir_CentreUrssaf();
  // Runs "UNIPGCENTREURSSAF" when attribute 45 of COMPTEUR "999" is 2 or more.
  void Lancer_UNIPG();

 private:
  CentreListDeps d_;
};

}  // namespace morvanel::data
