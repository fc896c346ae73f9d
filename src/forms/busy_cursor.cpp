// The busy guard of a long step. Named-controls layer (src/forms).
#include "forms/busy_cursor.h"

#include "forms/form.h"
#include "forms/services.h"

namespace forms {

BusyCursor::BusyCursor(Services& services, Form& form) : services_(services), form_(form) {
  services_.SetMousePointer(MousePointer::Hourglass);
  form_.SetEnabled(false);
}

void BusyCursor::Release() {
  if (!held_) return;
  held_ = false;
  services_.SetMousePointer(MousePointer::Default);
  form_.SetEnabled(true);
}

}  // namespace forms
