// LibraryState: what one loaded control library shares between all its
// Ctr_Urssaf instances: the host's database and client objects, the four open
// files, the utility component and the help. Shared state of the control.
//
// Hosts rely on the database and client being library-wide (the last one set
// is the one every instance uses). Instances register themselves; the shared
// objects are released only when the last instance goes, so releasing one
// control never closes files another one still uses.
#pragma once

#include <memory>
#include <string>

#include "dba/database.h"

namespace utilitaires {
class Utilitaires;
}
namespace components {
class Client;
class AideHtml;
}  // namespace components

namespace morvanel::state {

struct LibraryState {
  std::shared_ptr<dba::Database> TheDatabase;
  std::shared_ptr<components::Client> TheClient;
  dba::DBFile F_CentreUrssaf;
  dba::DBFile F_Compteur;
  dba::DBFile F_Association;
  dba::DBFile F_EltsPartEmp;

  std::string helpFile;  // "Morvanel.HLP" beside the library
  long long helpWindowHandle = 0;

  // Created at first use, kept until the last instance is released.
  utilitaires::Utilitaires& Utilitaires();
  components::AideHtml& AideHtml();

  // The one state of this library.
  static LibraryState& Instance();
  void AddInstance();
  // Releases the shared objects when the last instance goes.
  void RemoveInstance();
  [[nodiscard]] int Instances() const { return instances_; }

 private:
  void ReleaseAll();
  std::unique_ptr<utilitaires::Utilitaires> utilitaires_;
  std::unique_ptr<components::AideHtml> aideHtml_;
  int instances_ = 0;
};

}  // namespace morvanel::state
