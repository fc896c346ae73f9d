// The rate-history editor's enabled states: browsing, and the greying of
// the rest of the screen while a line is added or modified. Rate history
// subsystem.
#pragma once

#include "morvanel/state/urssaf_context.h"

namespace morvanel::ratehistory {

class RateEditorStates {
 public:
  explicit RateEditorStates(shell::UrssafContext& ctx) : ctx_(ctx) {}

  void RapportFalse();
  void Griser_Valeur();
  void Degriser_Valeur();
  void Afficher_Ajouter();
  void Masquer_Valeur();

 private:
  shell::UrssafContext& ctx_;
};

}  // namespace morvanel::ratehistory
