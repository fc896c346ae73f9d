// The registries of controls: which library file serves which class name,
// so that a host creates a control from its class name alone. Creation by
// name, shared by the control library and the hosting helper.
//
// A text file, one class per line: class name, class id and library path,
// separated by tabs; "#" starts a comment line. The user's own file comes
// first: $MORVANEL_REGISTRY, $XDG_CONFIG_HOME/morvanel/registry,
// $HOME/.config/morvanel/registry; then the machine's, which the packages
// fill: $MORVANEL_SYSTEM_REGISTRY, else SYSCONFDIR/morvanel/registry.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace morvanel::registry {

struct Entry {
  std::string progId;   // "Morvanel.Ctr_Urssaf"
  std::string clsid;    // the class id the library's class factory answers to
  std::string library;  // absolute path of the library file
};

// The registry could not be read or written.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The registry file of this user ("" when no home is known).
[[nodiscard]] std::string RegistryPath();

// The machine's registry file.
[[nodiscard]] std::string SystemRegistryPath();

// Refuses, as RegistryError naming the file, a file that someone other than
// `utilisateur` or root could change or swap: owned by another user, group-
// or world-writable, or in a folder that is (sticky folders such as /tmp
// aside, where others cannot rename what is not theirs). A host must never
// load code, or follow a registry, that another user could have replaced.
void CheckSafe(const std::string& chemin, uid_t utilisateur = ::geteuid());

// The class's entry from the user's registry, else the machine's. Each
// registry file read and the library of the entry found pass CheckSafe.
[[nodiscard]] std::optional<Entry> Lookup(std::string_view progId);

// Every entry of the file at `chemin`; none when the file does not exist.
[[nodiscard]] std::vector<Entry> Read(const std::string& chemin);
// Replaces the file (folders created; written beside it, then renamed, so a
// crash never leaves half a registry).
void Write(const std::string& chemin, const std::vector<Entry>& entrees);

// Adds the entry, replacing the one with the same class name.
void Add(const Entry& entree, const std::string& chemin = RegistryPath());
// Removes the class name's entry; false when there was none.
bool Remove(std::string_view progId, const std::string& chemin = RegistryPath());
[[nodiscard]] std::optional<Entry> Find(std::string_view progId,
                                        const std::string& chemin = RegistryPath());

}  // namespace morvanel::registry
