// What the editing workflow is given, and its message boxes.
// Editing workflow subsystem.
#include "morvanel/workflow/workflow_deps.h"

#include "morvanel/state/host_requirements.h"
#include "morvanel/state/urssaf_context.h"

namespace morvanel::workflow {

WorkflowDeps WorkflowDeps::From(state::UrssafContext& ctx, state::CentreWriter& centre) {
  return WorkflowDeps{ctx.ecran,
                      ctx.etat,
                      ctx.services,
                      ctx.procs,
                      centre,
                      ctx.lib.TheDatabase,
                      ctx.lib.F_CentreUrssaf,
                      ctx.lib.F_Compteur,
                      ctx.lib.F_EltsPartEmp};
}

dba::Database& WorkflowDeps::RequireDatabase(std::string_view membre) const {
  if (!base) {
    throw HostSetupError(std::string(membre) +
                         " : TheDatabase n'a pas été fourni (le donner avant Init)");
  }
  return *base;
}

const dba::DBFile& WorkflowDeps::File(const dba::DBFile& f, std::string_view membre) const {
  return state::RequireFile(f, membre);
}

void WorkflowDeps::Warn(std::string_view texte) const {
  services.MsgBox(texte, forms::MsgButtons::OK, forms::MsgIcon::Exclamation, state::kTitreMessage);
}

void WorkflowDeps::Inform(std::string_view texte) const {
  services.MsgBox(texte, forms::MsgButtons::OK, forms::MsgIcon::Information, state::kTitreMessage);
}

void WorkflowDeps::ReportDbError(const dba::DbaError& e) const {
  Warn(std::string("Erreur de la base de données : ") + e.what());
}

}  // namespace morvanel::workflow
