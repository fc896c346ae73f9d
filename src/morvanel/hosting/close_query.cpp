// Closing the host window through the control's exit path.
#include "morvanel/hosting/close_query.h"

#include "forms/form.h"
#include "forms/user_input.h"
#include "morvanel/interface/ictr_urssaf.h"

namespace morvanel::hosting {

bool QueryClose(ICtrUrssaf& control, forms::Services& services) {
  if (control.W_Sortir() == 1) return true;
  forms::Form& form = control.Controls();
  if (form.IsUnloaded()) return true;
  forms::UserInput input(form, services);
  forms::Control& sortir = form.Get("Cmd_Sortir");
  forms::Control& annuler = form.Get("Cmd_Annuler");
  // "Sortir" is disabled during a creation: "Annuler" is its way out.
  if (!sortir.Enabled() && annuler.Enabled() && annuler.Visible()) {
    input.Click(annuler);
    if (!sortir.Enabled()) return false;
  }
  // A control never initialised has nothing to lose.
  if (!input.Click(sortir)) return !sortir.Visible() || !form.Enabled();
  return control.W_Sortir() == 1;
}

}  // namespace morvanel::hosting
