// UrssafProcedures: the procedures of Ctr_Urssaf that one subsystem calls on
// another (a lookup shows a centre, a save refills the list, ...). Control
// shell. Ctr_Urssaf implements it by handing each call to the subsystem that
// owns the procedure, so subsystems depend on this interface only.
#pragma once

namespace morvanel::state {

class UrssafProcedures {
 public:
  virtual ~UrssafProcedures() = default;

  // Screen modes and shell.
  virtual void Afficher() = 0;
  virtual void Griser() = 0;
  virtual void Vider_Donnees() = 0;
  // Centre data.
  virtual void Afficher_Donnees() = 0;
  virtual void Ecrire_Donnees() = 0;
  virtual void Remplir_CentreUrssaf() = 0;
  virtual void Lancer_UNIPG() = 0;
  // Pickers.
  virtual void Remplir_Entite() = 0;
  virtual void Remplir_Etab() = 0;
  // Workflow.
  virtual void Verif_Donnees() = 0;
  virtual void Verif_EltsPartEmp() = 0;
  // Rate history.
  virtual void Remplir_Valeur() = 0;
  virtual void Remplir_ValeurTemp() = 0;
  virtual void Trier_Par_Date() = 0;
  virtual void Trier_Par_DateTemp() = 0;
  virtual void Chevauchement() = 0;
  virtual void RapportFalse() = 0;
  virtual void Griser_Valeur() = 0;
  virtual void Degriser_Valeur() = 0;
  virtual void Afficher_Ajouter() = 0;
  virtual void Masquer_Valeur() = 0;
};

}  // namespace morvanel::state
