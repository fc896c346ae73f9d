// "Sortir": leave at once when nothing is shown or nothing changed; ask
// whether to save otherwise (users who may change data only).
// Editing workflow subsystem.
#include "morvanel/workflow/exit_command.h"

#include "components/droits/droits_ecran.h"

namespace morvanel::workflow {

void ExitCommand::Attach() {
  ctx_.ecran.Cmd_Sortir.Click = [this] { Cmd_Sortir_Click(); };
}

bool ExitCommand::PeutModifier() const {
  return ctx_.etat.DroitsEcran && ctx_.etat.DroitsEcran->Niveau() == 2;
}

void ExitCommand::Quitter() {
  ctx_.etat.W_Sortir = 1;
  ctx_.services.UnloadParentForm();
}

void ExitCommand::Cmd_Sortir_Click() {
  shell::InstanceState& etat = ctx_.etat;
  // Search state: no centre, nothing to save. A centre whose read failed
  // left no record either.
  if (ctx_.ecran.Txt_CodCtrUrssaf.Text().empty() || !etat.Art_CentreUrssaf) {
    Quitter();
    return;
  }
  ctx_.procs.Ecrire_Donnees();
  if (etat.Art_CentreUrssaf->Item() == etat.ArticleInitial) {
    Quitter();
    return;
  }
  view::MsgAnswer reponse = view::MsgAnswer::No;
  if (PeutModifier()) {
    ctx_.services.Beep();
    reponse = ctx_.services.MsgBox("Voulez-vous enregistrer les modifications apportées à cet article ?",
                                   view::MsgButtons::YesNoCancel, view::MsgIcon::Exclamation,
                                   shell::kTitreMessage);
  }
  switch (reponse) {
    case view::MsgAnswer::Yes:
      ctx_.procs.Verif_Donnees();
      if (etat.ErreurVerif) return;  // the check told the user and moved the focus
      etat.Art_CentreUrssaf->DBWrite();
      ctx_.procs.Lancer_UNIPG();
      Quitter();
      return;
    case view::MsgAnswer::Cancel:
      etat.W_Sortir = 0;
      return;
    default:
      Quitter();
      return;
  }
}

}  // namespace morvanel::workflow
