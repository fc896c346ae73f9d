// What a member of Ctr_Urssaf needs the host to have given (the database) or
// done (Init, which opens the files) before it can run; a clear error for
// the host developer otherwise, never a crash. Shared state of the control.
#pragma once

#include <string>
#include <string_view>

#include "dba/database.h"
#include "morvanel/interface/ictr_urssaf.h"
#include "morvanel/state/library_state.h"

namespace morvanel::state {

inline dba::Database& RequireDatabase(const LibraryState& lib, std::string_view membre) {
  if (!lib.TheDatabase) {
    throw HostSetupError(std::string(membre) +
                         " : TheDatabase n'a pas été fourni (le donner avant Init)");
  }
  return *lib.TheDatabase;
}

inline const dba::DBFile& RequireFile(const dba::DBFile& fichier, std::string_view membre) {
  if (!fichier.IsOpen()) {
    throw HostSetupError(std::string(membre) + " : Init n'a pas été appelé");
  }
  return fichier;
}

}  // namespace morvanel::state
