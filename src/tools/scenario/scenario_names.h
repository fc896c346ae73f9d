// Which control of which form a scenario names. Scenario runner (no Qt).
//
// The forms on screen form a stack: the control's own surface first, then
// each modal form shown over it. A name is, in this order:
//   "UserControl" or the surface's own name    the control's surface
//   a modal form's name ("Frm_SupprURSSAF")     that form's surface
//   "FORM.CONTROL"                              CONTROL of the form FORM
//   "CONTROL" or "Owner.Inner"                  searched from the topmost
//                                               form down to the surface
// so "Ctr_AdresseUrssaf.Txt_Ville" is an inner field of the address control
// on the surface and "Frm_SupprURSSAF.Txt_CentreSuppr" a field of the form.
#pragma once

#include <stdexcept>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "forms/form.h"

namespace scenario {

class NameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Target {
  forms::Form* form = nullptr;
  forms::Control* control = nullptr;  // nullptr: the form's surface
};

// `forms`: bottom (the control's surface) first, topmost modal form last;
// never empty. Throws NameError naming the forms searched.
[[nodiscard]] Target Resolve(std::string_view name, const std::vector<forms::Form*>& forms);

}  // namespace scenario
