// UrssafProcedures: the screen procedures of Ctr_Urssaf that one subsystem
// runs on another's controls (a save empties the screen, refills the list,
// ...). Shared state of the control. Ctr_Urssaf implements it by handing
// each call to the subsystem that owns the procedure, so subsystems depend
// on this interface only. A subsystem that needs an answer from a sibling
// goes through a narrower interface that returns it (CentreWriter).
#pragma once

namespace morvanel::state {

class UrssafProcedures {
 public:
  virtual ~UrssafProcedures() = default;

  // Screen modes and shell.
  virtual void Afficher() = 0;
  virtual void Vider_Donnees() = 0;
  // Centre list.
  virtual void Remplir_CentreUrssaf() = 0;
  virtual void Lancer_UNIPG() = 0;
  // Pickers.
  virtual void Remplir_Entite() = 0;
  virtual void Remplir_Etab() = 0;
  // Rate history.
  virtual void RapportFalse() = 0;
};

}  // namespace morvanel::state
