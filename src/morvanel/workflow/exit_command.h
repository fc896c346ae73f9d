// "Sortir": leaving the screen, with the save question when the centre shown
// was changed. Editing workflow subsystem.
//
// Leaving sets W_Sortir to 1 and then asks the platform to unload the host
// form the control sits on; the host reads W_Sortir afterwards. The save
// offered here is the one of "OK" (SaveCommands::Enregistrer).
#pragma once

#include "morvanel/workflow/workflow_deps.h"

namespace morvanel::workflow {

class RecordValidation;
class SaveCommands;

class ExitCommand {
 public:
  // `verif` and `save` (not owned) must outlive the command.
  ExitCommand(WorkflowDeps deps, RecordValidation& verif, SaveCommands& save)
      : d_(deps), verif_(verif), save_(save) {}
  // Installs the handler on Cmd_Sortir.
  void Attach();

  void Cmd_Sortir_Click();

 private:
  void Quitter();
  [[nodiscard]] bool PeutModifier() const;
  WorkflowDeps d_;
  RecordValidation& verif_;
  SaveCommands& save_;
};

}  // namespace morvanel::workflow
