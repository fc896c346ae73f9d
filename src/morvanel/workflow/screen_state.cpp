// The screen's working state and the long-step guard.
// Editing workflow subsystem.
#include "morvanel/workflow/screen_state.h"

#include "morvanel/state/instance_state.h"
#include "morvanel/state/urssaf_screen.h"
#include "forms/services.h"

namespace morvanel::workflow {

EtatEcran EtatCourant(const WorkflowDeps& deps) {
  if (deps.etat.ModeAjout) return EtatEcran::Creation;
  if (!deps.ecran.Txt_CodCtrUrssaf.Enabled() && !deps.ecran.Txt_CodCtrUrssaf.Text().empty()) {
    return EtatEcran::CentreAffiche;
  }
  return EtatEcran::Recherche;
}

void BoutonsPour(const WorkflowDeps& deps, EtatEcran etat) {
  state::UrssafScreen& e = deps.ecran;
  const bool recherche = etat == EtatEcran::Recherche;
  const bool creation = etat == EtatEcran::Creation;
  e.Cmd_Ajouter.SetEnabled(recherche);
  e.Cmd_Supprimer.SetEnabled(etat == EtatEcran::CentreAffiche);
  e.Cmd_OK.SetEnabled(!recherche);
  e.Cmd_Annuler.SetEnabled(!recherche);
  e.Cmd_Sortir.SetEnabled(!creation);
}

}  // namespace morvanel::workflow
