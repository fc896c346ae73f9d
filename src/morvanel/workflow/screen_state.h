// The three working states of the screen and the commands that move between
// them. Editing workflow subsystem.
//
// States (ModeAjout and the code box are the facts the other subsystems
// set; EtatCourant reads the state from them, and nothing else decides it):
//   Recherche      ModeAjout False, code box enabled. Ajouter, Sortir usable;
//                  Supprimer, OK, Annuler disabled; the sigle drop-down shown.
//   Creation       ModeAjout True. OK, Annuler usable; Ajouter, Supprimer,
//                  Sortir and the code box disabled; the sigle text box shown.
//   CentreAffiche  ModeAjout False, code box disabled (a centre was found).
//                  Supprimer, OK, Annuler, Sortir usable; Ajouter disabled.
//
// Transitions, and the function that performs each:
//   Recherche -> Creation            "Ajouter"             SaveCommands::Cmd_Ajouter_Click
//   Recherche -> CentreAffiche       a code or sigle found  (field entry: the lookup)
//   Creation | CentreAffiche
//             -> Recherche           "OK", checks passed    SaveCommands::Cmd_OK_Click
//             -> unchanged           "OK", a check failed or the database refused
//   Creation -> Recherche            "Annuler", Yes         SaveCommands::Cmd_Annuler_Click
//   Creation -> unchanged            "Annuler", No
//   CentreAffiche -> Recherche       "Annuler"              SaveCommands::Cmd_Annuler_Click
//   CentreAffiche -> Recherche       centre deleted         DeleteCommand::Cmd_Supprimer_Click
//   CentreAffiche -> unchanged       deletion refused, cancelled or records kept
//   Recherche | CentreAffiche
//             -> host form unloaded  "Sortir" resolved to leave  ExitCommand::Cmd_Sortir_Click
// A command that does not belong to the current state does nothing (its
// button is disabled; a host may still call the handler).
#pragma once

#include "morvanel/workflow/workflow_deps.h"

namespace morvanel::workflow {

enum class EtatEcran { Recherche, Creation, CentreAffiche };

[[nodiscard]] EtatEcran EtatCourant(const WorkflowDeps& deps);

// Sets the five command buttons as `etat` has them.
void BoutonsPour(const WorkflowDeps& deps, EtatEcran etat);

}  // namespace morvanel::workflow
