// The rights file DROITS of the demo database: per user, the screens and
// the access level on each (2 = full access). Tools layer (no Qt).
#include "demo/demo_data.h"

namespace demo {

// Attribute 1: screen keys (multivalued); attribute 2: the level of each,
// parallel to attribute 1; attribute 3: the user's full name.
std::vector<DemoRecord> DemoRights() {
  return {
      {"admin", JoinAttributes({JoinValues({"CENTREURSSAF", "SALARIES", "PAIE"}),
                                JoinValues({"2", "2", "2"}), "Administrateur"})},
      {"consult", JoinAttributes({JoinValues({"CENTREURSSAF", "SALARIES"}), JoinValues({"1", "1"}),
                                  "Consultation"})},
      {"clerk", JoinAttributes({JoinValues({"SALARIES", "CENTREURSSAF"}), JoinValues({"1", "2"}),
                                "Gestionnaire paie"})},
  };
}

}  // namespace demo
