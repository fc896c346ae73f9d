// Ctr_Urssaf: the URSSAF centres control. Builds its screen, owns the
// subsystems that handle its events, and offers hosts its public members
// (ICtrUrssaf). Control shell (src/morvanel/shell).
//
//   forms::headless::HeadlessServices services;   // or the Qt ones
//   morvanel::shell::Ctr_Urssaf ctl(services);
//   ctl.TheDatabase(db);
//   ctl.TheClient(client);
//   ctl.DroitsUtilisateur(droits);
//   ctl.Init();
//   ... the user works on ctl.Controls() ...
//   if (ctl.W_Sortir() == 1) { /* the user left with "Sortir" */ }
//
// Every member a host calls runs as one action of the form: focus moves it
// asks for take effect when it returns. The other subsystems reach the same
// procedures through state::UrssafProcedures.
#pragma once

#include <memory>

#include "morvanel/interface/ictr_urssaf.h"
#include "morvanel/state/procedures.h"
#include "morvanel/state/state_fwd.h"

namespace components {
class Adresse;
}
namespace forms {
class Services;
}

namespace morvanel::shell {

class Ctr_Urssaf final : public ICtrUrssaf, private state::UrssafProcedures {
 public:
  // `services` (not owned) must outlive the control. Raises the creation
  // of the control (help set-up) and registers it with the library.
  explicit Ctr_Urssaf(forms::Services& services);
  // Releases the control: its rights and records, the help with the last
  // control, and the library-wide objects with the last control.
  ~Ctr_Urssaf() override;

  // --- ICtrUrssaf, in the fixed member order --------------------------------
  [[nodiscard]] int W_Sortir() const override;
  void W_Sortir(int value) override;
  void DroitsUtilisateur(std::shared_ptr<components::DroitsUtilisateur> droits) override;
  void Verif_EltsPartEmp() override;
  void Afficher() override;
  void Afficher_Donnees() override;
  [[nodiscard]] forms::Form& Controls() override;
  void Ecrire_Donnees() override;
  void Griser() override;
  void Init() override;
  void Remplir_CentreUrssaf() override;
  void TheClient(std::shared_ptr<components::Client> client) override;
  void TheDatabase(std::shared_ptr<dba::Database> database) override;
  void Verif_Donnees() override;
  void Vider_Donnees() override;
  void RapportFalse() override;
  void Remplir_Valeur() override;
  void Remplir_ValeurTemp() override;
  void Trier_Par_Date() override;
  void Trier_Par_DateTemp() override;
  void Griser_Valeur() override;
  void Degriser_Valeur() override;
  void Afficher_Ajouter() override;
  void Masquer_Valeur() override;
  void Chevauchement() override;

  // --- for hosts, tests and the scenario runner (not in the member order) ---
  [[nodiscard]] state::InstanceState& Etat();
  [[nodiscard]] state::LibraryState& Library();
  [[nodiscard]] state::UrssafScreen& Ecran();
  [[nodiscard]] components::Adresse& Adresse();
  // The procedures the subsystems call on each other (Lancer_UNIPG, ...).
  [[nodiscard]] state::UrssafProcedures& Procedures();
  // The window handle the help was set up with.
  [[nodiscard]] long long Fenetre() const;

 private:
  // state::UrssafProcedures beyond the public members.
  void Lancer_UNIPG() override;
  void Remplir_Entite() override;
  void Remplir_Etab() override;

  void UserControl_Initialize();
  void UserControl_Terminate() noexcept;
  void Ouvrir_Fichiers();
  void Appliquer_Droits();

  struct Private;
  std::unique_ptr<Private> d;
};

}  // namespace morvanel::shell
