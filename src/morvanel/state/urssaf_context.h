// UrssafContext: everything a subsystem of Ctr_Urssaf works with: the screen,
// the instance's fields, the library-wide state, the platform services, the
// address control and the other subsystems' procedures. Shared state of the control.
// Does not own anything it refers to.
#pragma once

#include "morvanel/state/instance_state.h"
#include "morvanel/state/library_state.h"
#include "morvanel/state/procedures.h"
#include "morvanel/state/urssaf_screen.h"
#include "forms/services.h"

namespace components {
class Adresse;
}

namespace morvanel::state {

struct UrssafContext {
  UrssafScreen& ecran;
  InstanceState& etat;
  LibraryState& lib;
  forms::Services& services;
  components::Adresse& adresse;  // the address control Ctr_AdresseUrssaf
  UrssafProcedures& procs;
};

// The box title of every message of the control.
inline constexpr const char* kTitreMessage = "Message TARVELINE";

}  // namespace morvanel::state
