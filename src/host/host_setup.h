// What the demo host does before it shows the control: open (or create and
// seed) the database, its post-write routine, and the registration of the
// control library. Demo host (src/host); no Qt here.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "dba/database.h"

namespace host {

// Opens `path`; when it does not exist, creates it (and its folder) and
// seeds the demo data, saying so on `notes`.
[[nodiscard]] std::shared_ptr<dba::Database> OpenDatabase(const std::string& path,
                                                          std::ostream& notes);

// The control library built beside the host (libmorvanel.so in the host's
// folder, else the build tree's copy); "" when neither exists.
[[nodiscard]] std::string LibraryBesideHost();

// Makes sure "Morvanel.Ctr_Urssaf" is registered for this user: when it is
// not, or its library file is gone, registers `library`. Says what it did
// on `notes`. Throws hosting::HostingError when the registration fails.
void EnsureRegistered(const std::string& library, std::ostream& notes);

}  // namespace host
