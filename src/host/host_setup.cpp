// Database, routine and library registration of the demo host. Demo host.
#include "host_setup.h"

#include <filesystem>
#include <ostream>

#include "demo/demo_seed.h"
#include "morvanel/hosting/hosting.h"
#include "morvanel/interface/ictr_urssaf.h"
#include "morvanel/hosting/registry.h"

namespace host {

namespace fs = std::filesystem;

std::shared_ptr<dba::Database> OpenDatabase(const std::string& path, std::ostream& notes) {
  if (path.starts_with("postgresql://") || path.starts_with("postgres://")) {
    // A server database is the administrator's, made with mvdb create: the
    // host seeds nothing there.
    return dba::Database::Open(path);
  }
  if (fs::exists(path)) return dba::Database::Open(path);
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder);
  auto db = dba::Database::Open(path, {.create = true});
  const demo::SeedSummary s = demo::SeedDemo(*db);
  notes << "created the demo database " << path << " (" << s.centres << " centres, " << s.cases
        << " case records)\n";
  return db;
}

std::string LibraryBesideHost() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path beside = self.parent_path() / "libmorvanel.so";
    if (fs::exists(beside, ec)) return beside.string();
  }
#ifdef MORVANEL_LIBRARY_FILE
  if (fs::exists(MORVANEL_LIBRARY_FILE, ec))
    return fs::canonical(MORVANEL_LIBRARY_FILE, ec).string();
#endif
  return {};
}

void EnsureRegistered(const std::string& library, std::ostream& notes) {
  const auto entry = morvanel::registry::Lookup(morvanel::kProgIdCtrUrssaf);
  std::error_code ec;
  if (entry && fs::exists(entry->library, ec)) {
    if (!library.empty() && !fs::equivalent(entry->library, library, ec)) {
      notes << "note: " << morvanel::kProgIdCtrUrssaf << " is registered to " << entry->library
            << "; run morvanel-host --register to use " << library << "\n";
    }
    return;
  }
  if (library.empty()) {
    throw morvanel::hosting::HostingError(
        "libmorvanel.so not found beside the host: build the target morvanel");
  }
  morvanel::hosting::RegisterLibrary(library);
  notes << "registered " << library << " for " << morvanel::kProgIdCtrUrssaf << " in "
        << morvanel::registry::RegistryPath() << "\n";
}

}  // namespace host
