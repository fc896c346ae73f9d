// ICtrUrssaf: the public interface of the Ctr_Urssaf control, as hosts see it.
// Control interface (src/morvanel/interface).
//
// Hosts bind to the members by their position, so the virtual members below
// follow the control's fixed member order and must never be reordered; new
// members may only be added after the last one. The destructor is declared
// last so that member 1 (W_Sortir get) takes the first slot of the table.
// Late-binding hosts use the name table of dispatch.h instead.
//
// Calling order: create the control, set TheDatabase, TheClient and
// DroitsUtilisateur (any order), call Init, then any other member.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace dba {
class Database;
}
namespace components {
class Client;
class DroitsUtilisateur;
}  // namespace components
namespace forms {
class Form;
}

namespace morvanel {

// A host called a member before giving the control what it needs (Init
// without a database or a rights object). A programming error of the host.
class HostSetupError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class ICtrUrssaf {
 public:
  // 1. Exit flag: 1 once the user left with "Sortir", 0 when the exit was cancelled.
  [[nodiscard]] virtual int W_Sortir() const = 0;
  virtual void W_Sortir(int value) = 0;
  // 2. The user's rights; asks them at once for the screen "CENTREURSSAF".
  virtual void DroitsUtilisateur(std::shared_ptr<components::DroitsUtilisateur> droits) = 0;
  // 3. Fills the list of case records attached to the centre in the code box.
  virtual void Verif_EltsPartEmp() = 0;
  // 4. Enables every constituent control (Supprimer stays off in creation).
  virtual void Afficher() = 0;
  // 5. The centre record to the screen.
  virtual void Afficher_Donnees() = 0;
  // 6. The control's own collection of constituent controls.
  [[nodiscard]] virtual forms::Form& Controls() = 0;
  // 7. The screen to the centre record (the caller writes it).
  virtual void Ecrire_Donnees() = 0;
  // 8. Greys the screen for a search.
  virtual void Griser() = 0;
  // 9. Loads the screen. Throws HostSetupError when TheDatabase or
  //    DroitsUtilisateur was not given.
  virtual void Init() = 0;
  // 10. Refills the centre list and the sigle drop-down.
  virtual void Remplir_CentreUrssaf() = 0;
  // 11, 12. Library-wide: the last one given is used by every control.
  virtual void TheClient(std::shared_ptr<components::Client> client) = 0;
  virtual void TheDatabase(std::shared_ptr<dba::Database> database) = 0;
  // 13. Checks the fields before a save; the verdict is ErreurVerif.
  virtual void Verif_Donnees() = 0;
  // 14. Empties the screen back to the search.
  virtual void Vider_Donnees() = 0;
  // 15 to 24. The rate history and its editor.
  virtual void RapportFalse() = 0;
  virtual void Remplir_Valeur() = 0;
  virtual void Remplir_ValeurTemp() = 0;
  virtual void Trier_Par_Date() = 0;
  virtual void Trier_Par_DateTemp() = 0;
  virtual void Griser_Valeur() = 0;
  virtual void Degriser_Valeur() = 0;
  virtual void Afficher_Ajouter() = 0;
  virtual void Masquer_Valeur() = 0;
  virtual void Chevauchement() = 0;

  virtual ~ICtrUrssaf() = default;

 protected:
  ICtrUrssaf() = default;
  ICtrUrssaf(const ICtrUrssaf&) = delete;
  ICtrUrssaf& operator=(const ICtrUrssaf&) = delete;
};

// The class name hosts create the control by.
inline constexpr const char* kProgIdCtrUrssaf = "Morvanel.Ctr_Urssaf";

}  // namespace morvanel
