// The legal entity and establishment pairs (code box beside a list of
// names): the two list fillers and every handler of the pairs.
// Field entry subsystem.
#pragma once

#include <optional>
#include <string>

#include <memory>
#include "morvanel/state/state_fwd.h"

namespace dba {
class Database;
class DBFile;
}  // namespace dba
namespace forms {
class Control;
class Services;
}  // namespace forms
namespace morvanel::fields {

// What the two pairs work with. Built from the control's context in one
// place (EntiteEtabDeps::From). Refers to everything, owns nothing.
struct EntiteEtabDeps {
  state::UrssafScreen& ecran;
  // ListeEntites, ListeEtablissements, Art_Association.
  state::InstanceState& etat;
  forms::Services& services;
  // Given by the host, possibly after the control was built.
  const std::shared_ptr<dba::Database>& base;
  // Opened by Init.
  const dba::DBFile& F_Association;

  [[nodiscard]] static EntiteEtabDeps From(state::UrssafContext& ctx);
};

// The pickers' part of what an enabled screen leaves disabled: a pair whose
// list holds a single entry, filled in for the clerk, stays locked, and the
// establishment pair stays closed without a list of establishments. Only
// disables: every state that enables the screen again applies it after its
// own rule.
void Verrouiller_Choix_Uniques(state::UrssafScreen& ecran);

class EntiteEtabPickers {
 public:
  explicit EntiteEtabPickers(EntiteEtabDeps deps) : d_(deps) {}
  // Installs the handlers on the screen's controls.
  void Attach();

  void Remplir_Entite();
  void Remplir_Etab();

 private:
  // The two pairs follow one scheme; Paire says which one a handler serves.
  enum class Paire { Entite = 0, Etab = 1 };
  forms::Control& Code(Paire paire) const;
  forms::Control& Liste(Paire paire) const;

  void Code_KeyPress(Paire paire, int& keyAscii);
  void Code_Change(Paire paire);
  void Verifier_Code(Paire paire);  // the check, run by LostFocus and Change
  void Liste_Click(Paire paire);
  void Liste_Change(Paire paire);
  void Liste_KeyPress(Paire paire, int& keyAscii);

  [[nodiscard]] std::optional<std::string> Chercher(Paire paire, const std::string& code) const;
  void Code_Inconnu(Paire paire, const std::string& code);
  // Unlocks the establishment pair, its list kept.
  void Ouvrir_Etab();
  // Closes the establishment pair and forgets its list.
  void Oublier_Etab();

  EntiteEtabDeps d_;
  // Per pair: the code whose not-found message was last shown, until the
  // code box's text changes; a check repeated on the same code (padding,
  // then leaving the box) does not show it a second time.
  std::optional<std::string> signale_[2];
  // Set while the check empties a stale name from a combo, so that the
  // combo's Change rule does not empty the code just checked.
  bool effacementNom_ = false;
  // The entity code the establishment list on screen was built for; none
  // once the pair is closed. A check that finds the same entity again (the
  // clerk only passed through the box) keeps the establishment chosen.
  std::optional<std::string> etabsDe_;
};

}  // namespace morvanel::fields
