// The rate-history editor's enabled states: browsing, and the greying of
// the rest of the screen while a line is added or modified. Rate history
// subsystem.
#pragma once
#include "morvanel/state/state_fwd.h"

namespace morvanel::ratehistory {

// What the editor's states work with: the screen they enable and grey, and
// ModeRapport. Built from the control's context in one place
// (RateEditorStatesDeps::From). Refers to everything, owns nothing.
struct RateEditorStatesDeps {
  state::UrssafScreen& ecran;
  state::InstanceState& etat;

  [[nodiscard]] static RateEditorStatesDeps From(state::UrssafContext& ctx);
};

// The editor's one state (transitions in rate_editor.cpp). ModeRapport, the
// control's field, follows it: 1 while adding, else 0.
enum class EtatRapport { Consultation, Ajout, Modification };

class RateEditorStates {
 public:
  explicit RateEditorStates(RateEditorStatesDeps deps) : d_(deps) {}

  [[nodiscard]] EtatRapport Etat() const { return etat_; }
  void Passer(EtatRapport etat);

  void RapportFalse();
  void Griser_Valeur();
  void Degriser_Valeur();
  void Afficher_Ajouter();
  void Masquer_Valeur();

 private:
  RateEditorStatesDeps d_;
  EtatRapport etat_ = EtatRapport::Consultation;
};

}  // namespace morvanel::ratehistory
