// The rate-history editor's enabled states: browsing, and the greying of
// the rest of the screen while a line is added or modified. Rate history
// subsystem.
#pragma once

#include "morvanel/state/urssaf_context.h"

namespace morvanel::ratehistory {

// The editor's one state (transitions in rate_editor.cpp). ModeRapport, the
// control's field, follows it: 1 while adding, else 0.
enum class EtatRapport { Consultation, Ajout, Modification };

class RateEditorStates {
 public:
  explicit RateEditorStates(shell::UrssafContext& ctx) : ctx_(ctx) {}

  [[nodiscard]] EtatRapport Etat() const { return etat_; }
  void Passer(EtatRapport etat);

  void RapportFalse();
  void Griser_Valeur();
  void Degriser_Valeur();
  void Afficher_Ajouter();
  void Masquer_Valeur();

 private:
  shell::UrssafContext& ctx_;
  EtatRapport etat_ = EtatRapport::Consultation;
};

}  // namespace morvanel::ratehistory
