// The centre record between the database and the screen: Afficher_Donnees
// (Art_CentreUrssaf to the fields) and Ecrire_Donnees (the fields back into
// it; the caller writes it). Centre data subsystem.
//
// Record of CENTREURSSAF (key = the two-character centre code):
//   1 sigle, 2 dénomination, 3..14 address (address control), 15 contact,
//   16 code organisme, 17 electronic declarations ("0"/"1"), 20 and 21 the
//   rate history (dates, rates x 1000), 22 flat amount x 100 ("" for none),
//   24 SNV2 code, 25 entity code + establishment code (3 + 3 characters),
//   26..31 bank details. Everything else is carried through untouched.
// A centre read, shown and written back unchanged keeps its whole text.
#pragma once

#include "morvanel/state/urssaf_context.h"

namespace morvanel::data {

class CentreRecord {
 public:
  explicit CentreRecord(shell::UrssafContext& ctx) : ctx_(ctx) {}

  void Afficher_Donnees();
  void Ecrire_Donnees();

 private:
  dba::CItem& Centre();
  shell::UrssafContext& ctx_;
};

}  // namespace morvanel::data
