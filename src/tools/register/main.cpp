// morvanel-register: records a control library in the per-user registry of
// controls (or removes it), as an installer does, so that hosts create its
// controls by class name. Command-line tool; host side of creation by name.
//
//   morvanel-register [-u] LIBRARY
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "morvanel/hosting/hosting.h"
#include "morvanel/hosting/registry.h"
#include "version.h"

namespace {

constexpr const char* kUsage =
    "usage: morvanel-register [-u] LIBRARY\n"
    "Records the control library LIBRARY in this user's registry of controls, so\n"
    "that hosts create its controls by class name; -u removes it again.\n"
    "  -u         unregister LIBRARY\n"
    "  --help     this text\n"
    "  --version  the kit's version\n"
    "The registry is $MORVANEL_REGISTRY, else $XDG_CONFIG_HOME/morvanel/registry,\n"
    "else ~/.config/morvanel/registry. Hosts then read the machine's registry,\n"
    "/etc/morvanel/registry, which the packages fill. Exit 0 on success, 1 on\n"
    "failure, 2 for a usage error.\n";

}  // namespace

int main(int argc, char** argv) {
  if (version::Printed(argc, argv, "morvanel-register")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kUsage;
    return 0;
  }
  const bool remove = argc == 3 && std::strcmp(argv[1], "-u") == 0;
  if (argc != 2 + (remove ? 1 : 0) || argv[argc - 1][0] == '-') {
    std::cerr << kUsage;
    return 2;
  }
  try {
    // The registry keeps an absolute path: the host may run from anywhere.
    const std::string library = std::filesystem::absolute(argv[argc - 1]).string();
    if (remove) {
      morvanel::hosting::UnregisterLibrary(library);
      std::cout << "unregistered " << library << "\n";
    } else {
      morvanel::hosting::RegisterLibrary(library);
      std::cout << "registered " << library << " in " << morvanel::registry::RegistryPath() << "\n";
    }
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "morvanel-register: " << e.what() << "\n";
    return 1;
  }
}
