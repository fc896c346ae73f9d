// The legal entity and establishment pairs (code box beside a list of
// names): the two list fillers and every handler of the pairs.
// Field entry subsystem.
#pragma once

#include "morvanel/shell/urssaf_context.h"

namespace morvanel::fields {

class EntiteEtabPickers {
 public:
  explicit EntiteEtabPickers(shell::UrssafContext& ctx) : ctx_(ctx) {}
  // Installs the handlers on the screen's controls.
  void Attach();

  void Remplir_Entite();
  void Remplir_Etab();

 private:
  shell::UrssafContext& ctx_;
};

}  // namespace morvanel::fields
