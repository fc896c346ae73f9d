// The checks before a centre is written (Verif_Donnees), and the search for
// the case records attached to the centre shown (Verif_EltsPartEmp).
// Editing workflow subsystem.
#pragma once

#include <string_view>

#include "dba/citem.h"

#include "morvanel/workflow/workflow_deps.h"

namespace forms {
class Control;
}

namespace morvanel::workflow {

// Whether `code` can go between the double quotes of a query sentence as a
// value compared for equality: no quote that would end it, no "]" that would
// turn it into a prefix match, no record mark. Centre codes are digits, so a code that
// fails this belongs to no centre.
[[nodiscard]] bool ValeurCitable(std::string_view code);

class RecordValidation {
 public:
  explicit RecordValidation(WorkflowDeps deps) : d_(deps) {}

  // Stops at the first missing field: message, focus on the field, false.
  // True and nothing shown when all pass.
  [[nodiscard]] bool DonneesValides();
  // Keys of the ELTSPARTEMP records whose attribute 1 is the code in
  // Txt_CodCtrUrssaf (empty when none).
  [[nodiscard]] dba::CItem EltsPartEmp();

  // The public members: the same, with the verdict left in ErreurVerif and
  // the keys in ListeEltsPartEmp for the host.
  void Verif_Donnees();
  void Verif_EltsPartEmp();

 private:
  void Refuser(const char* message, forms::Control& zone);
  WorkflowDeps d_;
};

}  // namespace morvanel::workflow
