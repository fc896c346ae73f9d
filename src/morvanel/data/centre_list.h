// The list of all centres behind the sigle drop-down (Remplir_CentreUrssaf),
// and the database routine run after a centre is written or deleted
// (Lancer_UNIPG). Centre data subsystem.
#pragma once

#include "morvanel/state/urssaf_context.h"

namespace morvanel::data {

class CentreList {
 public:
  explicit CentreList(shell::UrssafContext& ctx) : ctx_(ctx) {}

  // ListeCentres = every centre in sigle order (value 1 code, value 2
  // sigle); the drop-down gets the sigles, line k for attribute k + 1. The
  // only centre of the file is put into the code box, which shows it, when
  // its code can be shown.
  void Remplir_CentreUrssaf();
  // Runs "UNIPGCENTREURSSAF" when attribute 45 of COMPTEUR "999" is 2 or more.
  void Lancer_UNIPG();

 private:
  shell::UrssafContext& ctx_;
};

}  // namespace morvanel::data
