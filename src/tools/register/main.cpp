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

int main(int argc, char** argv) {
  const bool remove = argc == 3 && std::strcmp(argv[1], "-u") == 0;
  if (argc != 2 + (remove ? 1 : 0) || argv[argc - 1][0] == '-') {
    std::cerr << "usage: morvanel-register [-u] LIBRARY\n";
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
