// RateEditorDeps: the few objects and procedures the rate editor works with,
// named once. Rate history subsystem.
//
// Built from the control's context in one place (RateEditorDeps::From); the
// editor uses nothing else. Refers to everything, owns nothing.
#pragma once

#include <string_view>
#include "morvanel/state/state_fwd.h"

namespace utilitaires {
class Utilitaires;
}
namespace dba {
class CItem;
}
namespace forms {
class Services;
}
namespace morvanel::ratehistory {

class RateEditorStates;
class RateHistoryModel;

struct RateEditorDeps {
  state::UrssafScreen& ecran;
  state::InstanceState& etat;
  forms::Services& services;
  // Afficher (which brings the frame back to browsing through RapportFalse).
  state::UrssafProcedures& procs;
  // The editor's state, Griser_Valeur, Degriser_Valeur, Afficher_Ajouter,
  // Masquer_Valeur.
  RateEditorStates& etats;
  // Remplir_Valeur(Temp), Trier_Par_Date(Temp), Chevauchement.
  RateHistoryModel& modele;
  state::LibraryState& lib;

  [[nodiscard]] static RateEditorDeps From(state::UrssafContext& ctx, RateEditorStates& etats,
                                           RateHistoryModel& modele);

  [[nodiscard]] utilitaires::Utilitaires& Utilitaires() const;
  // The record that holds the history on screen: ItemTemp while a centre is
  // created, else the shown centre. nullptr when no centre is on screen.
  [[nodiscard]] dba::CItem* Historique() const;
  // Only a user with full access to the screen changes the history.
  [[nodiscard]] bool PeutModifier() const;

  // Message boxes of the control (title "Message TARVELINE").
  void Warn(std::string_view texte) const;    // exclamation, OK
  void Inform(std::string_view texte) const;  // information, OK
  // Beep, then a Yes/No question with the exclamation icon; true on Yes.
  [[nodiscard]] bool Confirmer(std::string_view question) const;
};

}  // namespace morvanel::ratehistory
