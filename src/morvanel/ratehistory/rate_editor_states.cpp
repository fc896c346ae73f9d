// The rate-history editor's enabled states. Rate history subsystem.
//
// States of the frame Cdr_Rapport:
//   browsing  - lists and scroll bars usable, entry boxes disabled, only
//               "Ajouter" among the frame's buttons (RapportFalse,
//               Afficher_Ajouter, Degriser_Valeur lead back here);
//   adding / modifying - entry boxes usable, lists and scroll bars
//               disabled (Griser_Valeur), and the rest of the control
//               disabled but for the frame's members (Masquer_Valeur).
// The handlers that move between them belong to the editor (rate_editor.cpp).
#include "morvanel/ratehistory/rate_editor_states.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "morvanel/state/urssaf_context.h"

namespace morvanel::ratehistory {

RateEditorStatesDeps RateEditorStatesDeps::From(state::UrssafContext& ctx) {
  return RateEditorStatesDeps{ctx.ecran, ctx.etat};
}

void RateEditorStates::Passer(EtatRapport etat) {
  etat_ = etat;
  d_.etat.ModeRapport = etat == EtatRapport::Ajout ? 1 : 0;
}

// Whatever the editor was doing, Afficher brings the frame back to browsing.
void RateEditorStates::RapportFalse() {
  Passer(EtatRapport::Consultation);
  auto& e = d_.ecran;
  e.Cdr_Rapport.SetEnabled(true);
  e.Txt_Date.SetEnabled(false);
  e.Txt_Valeur.SetEnabled(false);
  e.Cmd_AjouterRapport.SetEnabled(true);
  e.Cmd_SupprimerRapport.SetEnabled(false);
  e.Cmd_OkRapport.SetEnabled(false);
  e.Cmd_AnnulerRapport.SetEnabled(false);
}

void RateEditorStates::Griser_Valeur() {
  auto& e = d_.ecran;
  e.Lst_Valeur.SetEnabled(false);
  e.Lst_Date.SetEnabled(false);
  e.Bdv_Valeur.SetEnabled(false);
  e.Bdv_Date.SetEnabled(false);
}

void RateEditorStates::Degriser_Valeur() {
  auto& e = d_.ecran;
  e.Lst_Valeur.SetEnabled(true);
  e.Lst_Date.SetEnabled(true);
  e.Bdv_Valeur.SetEnabled(true);
  e.Bdv_Date.SetEnabled(true);
}

void RateEditorStates::Afficher_Ajouter() {
  auto& e = d_.ecran;
  e.Cmd_AjouterRapport.SetEnabled(true);
  e.Cmd_OkRapport.SetEnabled(false);
  e.Cmd_AnnulerRapport.SetEnabled(false);
  e.Cmd_SupprimerRapport.SetEnabled(false);
}

void RateEditorStates::Masquer_Valeur() {
  // The frame's members that stay usable while a line is edited; "Ajouter"
  // and the scroll bars are not among them.
  static constexpr std::array<std::string_view, 10> kGardes = {
      "Cdr_Rapport", "Etq_Date",   "Etq_Valeur",           "Lst_Date",      "Lst_Valeur",
      "Txt_Date",    "Txt_Valeur", "Cmd_SupprimerRapport", "Cmd_OkRapport", "Cmd_AnnulerRapport"};
  forms::Form& form = d_.ecran.form;
  for (int i = 0; i < form.Count(); ++i) {
    forms::Control& c = form[i];
    if (std::find(kGardes.begin(), kGardes.end(), c.Name()) == kGardes.end()) c.SetEnabled(false);
  }
}

}  // namespace morvanel::ratehistory
