// WorkflowDeps: the few objects and procedures the editing workflow works
// with, named once. Editing workflow subsystem.
//
// Built from the control's context in one place (WorkflowDeps::From); the
// commands, the checks and the transfer form use nothing else. Refers to
// everything, owns nothing.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "dba/database.h"
#include "morvanel/state/state_fwd.h"

namespace forms {
class Services;
}
namespace morvanel::workflow {

struct WorkflowDeps {
  state::UrssafScreen& ecran;
  state::InstanceState& etat;
  forms::Services& services;
  // Afficher, Vider_Donnees, Remplir_CentreUrssaf, Lancer_UNIPG,
  // Remplir_Entite, Remplir_Etab: screen work owned by other subsystems.
  state::UrssafProcedures& procs;
  // The screen back into the record a save writes.
  state::CentreWriter& centre;
  // Given by the host, possibly after the control was built.
  const std::shared_ptr<dba::Database>& base;
  // Opened by Init.
  const dba::DBFile& F_CentreUrssaf;
  const dba::DBFile& F_Compteur;
  const dba::DBFile& F_EltsPartEmp;

  [[nodiscard]] static WorkflowDeps From(state::UrssafContext& ctx, state::CentreWriter& centre);

  // The database; a clear error for the host developer when none was given.
  [[nodiscard]] dba::Database& RequireDatabase(std::string_view membre) const;
  // A file opened by Init; a clear error when Init was not called.
  [[nodiscard]] const dba::DBFile& File(const dba::DBFile& f, std::string_view membre) const;

  // Message box of the control (title "Message TARVELINE", OK button).
  void Warn(std::string_view texte) const;    // exclamation icon
  void Inform(std::string_view texte) const;  // information icon
  // A database error told to the user, never lost.
  void ReportDbError(const dba::DbaError& e) const;
};

}  // namespace morvanel::workflow
