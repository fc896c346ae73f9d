// Path of the binary holding the control's code, through the dynamic loader.
// Shared state of the control (src/morvanel/state).
#include "morvanel/state/binary_path.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

namespace morvanel::state {

std::string BinaryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&BinaryPath), &info) != 0 && info.dli_fname != nullptr &&
      info.dli_fname[0] != '\0') {
    char vrai[PATH_MAX];
    if (realpath(info.dli_fname, vrai) != nullptr) return vrai;
  }
  // The main program may be reported by a bare name.
  char lien[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", lien, sizeof lien - 1);
  if (n > 0) return std::string(lien, static_cast<std::size_t>(n));
  return {};
}

std::string LibraryFolder() {
  const std::string binaire = BinaryPath();
  const std::size_t slash = binaire.rfind('/');
  if (slash == std::string::npos) return {};
  return binaire.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace morvanel::state
