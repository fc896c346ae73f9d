// "Ajouter", "OK" and "Annuler": starting a creation, saving the centre on
// the screen (new or shown), abandoning the work. Editing workflow subsystem.
//
// The save is one path for "OK" and for the save offered by "Sortir"
// (Enregistrer): hourglass and disabled control while it runs, a new
// centre's key taken from the counter and the centre written in one
// transaction, and on a refusal or a database error a message with the
// screen, the state and the database as they were. A centre shown is
// written only over the record as it was shown (state::EcrireSiInchange):
// another workstation's changes are replaced only when the clerk agrees,
// and a centre deleted elsewhere is not brought back.
#pragma once

#include <optional>

#include "forms/busy_cursor.h"
#include "morvanel/workflow/record_validation.h"
#include "morvanel/workflow/screen_state.h"
#include "morvanel/workflow/workflow_deps.h"

namespace morvanel::workflow {

class SaveCommands {
 public:
  // `verif` (not owned) must outlive the commands.
  SaveCommands(WorkflowDeps deps, RecordValidation& verif) : d_(deps), verif_(verif) {}
  // Installs the handlers on Cmd_Ajouter, Cmd_OK and Cmd_Annuler.
  void Attach();

  void Cmd_Ajouter_Click();
  void Cmd_OK_Click();
  void Cmd_Annuler_Click();

  // Writes the centre on the screen (the checks have passed) and runs the
  // post-write routine. False when nothing was written: the user has been
  // told why, the screen keeps the values and the state is unchanged.
  [[nodiscard]] bool Enregistrer();

 private:
  // Creation: takes the next key and writes counter and centre together.
  // False (and nothing written) when no key can be handed out.
  [[nodiscard]] bool EcrireNouveauCentre(dba::Database& base);
  // The centre shown, written only over the record as it was shown unless
  // the clerk agrees to replace another workstation's changes. False when
  // nothing was written (the clerk said No, or was told the centre is
  // gone). `occupe` is lifted while the clerk is asked or told.
  [[nodiscard]] bool EcrireCentreAffiche(dba::Database& base,
                                         std::optional<forms::BusyCursor>& occupe);
  void Lancer_UNIPG();

  WorkflowDeps d_;
  RecordValidation& verif_;
};

}  // namespace morvanel::workflow
