// Sees every exception thrown in the process, so that one a handler
// swallowed (a catch meant for database errors catching a logic fault)
// still counts. Random clerk sessions (src/tools/monkey, no Qt).
#pragma once

#include <string>
#include <vector>

namespace monkey {

// The types thrown since the last call, but for the scenario runner's own
// way of stopping a run; and forgets them.
std::vector<std::string> TakeThrows();

}  // namespace monkey
