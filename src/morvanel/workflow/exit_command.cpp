// "Sortir": leave at once when nothing is shown or nothing changed; ask
// whether to save otherwise (users who may change data only).
// Editing workflow subsystem (states in screen_state.h).
#include "morvanel/workflow/exit_command.h"

#include "components/droits/droits_ecran.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/centre_writer.h"
#include "morvanel/state/urssaf_context.h"
#include "morvanel/state/urssaf_screen.h"
#include "forms/services.h"
#include "morvanel/workflow/record_validation.h"
#include "morvanel/workflow/save_commands.h"
#include "morvanel/workflow/screen_state.h"

namespace morvanel::workflow {

void ExitCommand::Attach() {
  d_.ecran.Cmd_Sortir.Click = [this] { Cmd_Sortir_Click(); };
}

bool ExitCommand::PeutModifier() const {
  return d_.etat.DroitsEcran && d_.etat.DroitsEcran->Niveau() == 2;
}

void ExitCommand::Quitter() {
  d_.etat.W_Sortir = 1;
  d_.services.UnloadParentForm();
}

void ExitCommand::Cmd_Sortir_Click() {
  // A creation is left through "OK" or "Annuler" (the button is disabled).
  if (EtatCourant(d_) == EtatEcran::Creation) return;
  state::InstanceState& etat = d_.etat;
  // Search state: no centre, nothing to save. A centre whose read failed
  // left no record either.
  if (d_.ecran.Txt_CodCtrUrssaf.Text().empty() || !etat.Art_CentreUrssaf) {
    Quitter();
    return;
  }
  if (d_.centre.EcrireChamps().Item() == etat.ArticleInitial) {
    Quitter();
    return;
  }
  forms::MsgAnswer reponse = forms::MsgAnswer::No;
  if (PeutModifier()) {
    d_.services.Beep();
    reponse = d_.services.MsgBox(
        "Voulez-vous enregistrer les modifications apportées à cet article ?",
        forms::MsgButtons::YesNoCancel, forms::MsgIcon::Exclamation, state::kTitreMessage);
  }
  switch (reponse) {
    case forms::MsgAnswer::Yes:
      if (!verif_.DonneesValides()) return;  // the check told the user and moved the focus
      if (!save_.Enregistrer()) return;      // told; the user's values stay on the screen
      Quitter();
      return;
    case forms::MsgAnswer::Cancel: etat.W_Sortir = 0; return;
    default: Quitter(); return;
  }
}

}  // namespace morvanel::workflow
