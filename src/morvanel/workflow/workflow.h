// Workflow: the editing workflow of one control: the checks before a save,
// "Ajouter", "OK", "Annuler", "Sortir", "Supprimer" and the transfer form,
// built on the few things they use (WorkflowDeps), taken from the control's
// context here and nowhere else. Editing workflow subsystem.
#pragma once

#include "morvanel/workflow/delete_command.h"
#include "morvanel/workflow/exit_command.h"
#include "morvanel/workflow/record_validation.h"
#include "morvanel/workflow/save_commands.h"
#include "morvanel/workflow/workflow_deps.h"

namespace morvanel::shell {
struct UrssafContext;
}

namespace morvanel::workflow {

struct Workflow {
  explicit Workflow(shell::UrssafContext& ctx)
      : deps(WorkflowDeps::De(ctx)), verif(deps), save(deps), sortie(deps, save), suppression(deps) {}
  // Installs the command buttons' handlers.
  void Attach() {
    save.Attach();
    sortie.Attach();
    suppression.Attach();
  }

  WorkflowDeps deps;
  RecordValidation verif;
  SaveCommands save;
  ExitCommand sortie;
  DeleteCommand suppression;
};

}  // namespace morvanel::workflow
