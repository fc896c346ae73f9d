// UrssafContext: everything a subsystem of Ctr_Urssaf works with: the screen,
// the instance's fields, the library-wide state, the platform services, the
// address control and the other subsystems' procedures. Control shell.
// Does not own anything it refers to.
#pragma once

#include "morvanel/shell/instance_state.h"
#include "morvanel/shell/library_state.h"
#include "morvanel/shell/procedures.h"
#include "morvanel/shell/urssaf_screen.h"
#include "morvanel/view/services.h"

namespace components {
class Adresse;
}

namespace morvanel::shell {

struct UrssafContext {
  UrssafScreen& ecran;
  InstanceState& etat;
  LibraryState& lib;
  view::Services& services;
  components::Adresse& adresse;   // the address control Ctr_AdresseUrssaf
  UrssafProcedures& procs;
};

// The box title of every message of the control.
inline constexpr const char* kTitreMessage = "Message TARVELINE";

}  // namespace morvanel::shell
