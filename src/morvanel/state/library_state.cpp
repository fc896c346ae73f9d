// The state one loaded control library shares between its Ctr_Urssaf
// instances, and its release with the last of them. Shared state of the control.
#include "morvanel/state/library_state.h"

#include "components/aide/aide_html.h"
#include "morvanel/state/binary_path.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::state {

LibraryState& LibraryState::Instance() {
  static LibraryState state;
  return state;
}

utilitaires::Utilitaires& LibraryState::Utilitaires() {
  if (!utilitaires_) utilitaires_ = std::make_unique<utilitaires::Utilitaires>();
  return *utilitaires_;
}

components::AideHtml& LibraryState::AideHtml() {
  if (!aideHtml_) {
    // The pages are shipped beside the library, with the help file.
    aideHtml_ = std::make_unique<components::AideHtml>();
    aideHtml_->SetDossierAide(LibraryFolder());
  }
  return *aideHtml_;
}

void LibraryState::AddInstance() { ++instances_; }

void LibraryState::RemoveInstance() {
  if (instances_ > 0) --instances_;
  if (instances_ == 0) ReleaseAll();
}

void LibraryState::ReleaseAll() {
  F_CentreUrssaf = dba::DBFile();
  F_Compteur = dba::DBFile();
  F_EltsPartEmp = dba::DBFile();
  TheDatabase.reset();
  F_Association = dba::DBFile();
  // The client object, the help viewer (with the window a host gave it) and
  // the utility component stay for the life of the library: hosts hand
  // them over once. The viewer's window closes with the last control.
  if (aideHtml_) aideHtml_->Fermer_Aide();
  helpWindowHandle = 0;
}

}  // namespace morvanel::state
