// Workflow: the editing workflow of one control: the checks before a save,
// "Ajouter", "OK", "Annuler", "Sortir", "Supprimer" and the transfer form,
// built on the few things they use (WorkflowDeps). Editing workflow
// subsystem.
#pragma once

#include "morvanel/workflow/delete_command.h"
#include "morvanel/workflow/exit_command.h"
#include "morvanel/workflow/record_validation.h"
#include "morvanel/workflow/save_commands.h"
#include "morvanel/workflow/workflow_deps.h"

namespace morvanel::workflow {

struct Workflow {
  explicit Workflow(WorkflowDeps d)
      : deps(d),
        verif(deps),
        save(deps, verif),
        sortie(deps, verif, save),
        suppression(deps, verif) {}
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
