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

#include <string>

#include <functional>
#include <utility>
#include "morvanel/state/centre_writer.h"
#include "morvanel/state/state_fwd.h"

namespace utilitaires {
class Utilitaires;
}
namespace dba {
class CItem;
}
namespace components {
class Adresse;
}
namespace morvanel::data {

// What the centre record works with. Built from the control's context in
// one place (CentreRecordDeps::From). Refers to everything, owns nothing.
struct CentreRecordDeps {
  state::UrssafScreen& ecran;
  // Art_CentreUrssaf, ItemTemp, ModeAjout.
  state::InstanceState& etat;
  components::Adresse& adresse;  // Ctr_AdresseUrssaf
  // Created at first use: asked for each time, never kept.
  std::function<utilitaires::Utilitaires&()> Utilitaires;

  [[nodiscard]] static CentreRecordDeps From(state::UrssafContext& ctx);
};

class CentreRecord final : public state::CentreWriter {
 public:
  explicit CentreRecord(CentreRecordDeps deps) : d_(std::move(deps)) {}

  // Afficher_Donnees in three steps, composed by the control: the pickers
  // are filled between the fields and the attachment codes, the rate model
  // between the attachment codes and the bars that depend on its lists.
  void Afficher_Champs();
  void Afficher_Rattachement();
  void Afficher_Barres();
  void Ecrire_Donnees() { EcrireChamps(); }
  dba::CItem& EcrireChamps() override;

 private:
  dba::CItem& Centre();
  CentreRecordDeps d_;
  // The attachment codes as the centre was shown, the pickers' own filling
  // in included: only a change from these is the clerk's.
  std::string entiteAffichee_, etabAffiche_;
};

}  // namespace morvanel::data
