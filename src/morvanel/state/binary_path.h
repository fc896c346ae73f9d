// Where the control's code lives on disk: the control library when it is
// loaded as one, else the executable it was linked into. The help file and
// the registry entry are found from it. Shared state of the control.
#pragma once

#include <string>

namespace morvanel::state {

// The full path of that binary, links resolved; "" when unknown.
[[nodiscard]] std::string BinaryPath();
// Its folder ("/" for the root); "" when unknown.
[[nodiscard]] std::string LibraryFolder();

}  // namespace morvanel::state
