// The per-user registry of controls: which library file serves which class
// name, so that a host creates a control from its class name alone.
// Creation by name, shared by the control library and the hosting helper.
//
// A text file, one class per line: class name, class id and library path,
// separated by tabs; "#" starts a comment line. Where it lives, in order:
// $MORVANEL_REGISTRY, $XDG_CONFIG_HOME/morvanel/registry,
// $HOME/.config/morvanel/registry.
#pragma once

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
