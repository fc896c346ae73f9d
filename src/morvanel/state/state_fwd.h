// Forward declarations of the state every subsystem shares, for headers that
// only refer to it. Shared state of the control.
#pragma once

namespace morvanel::state {
struct InstanceState;
struct LibraryState;
struct UrssafContext;
struct UrssafScreen;
class UrssafProcedures;
class CentreWriter;
}  // namespace morvanel::state
