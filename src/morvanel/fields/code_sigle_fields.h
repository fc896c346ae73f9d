// The centre code box and the two sigle fields: lookup by code, leading
// zeros, choice by sigle, sigle in capitals. Field entry subsystem.
#pragma once

#include <functional>
#include <utility>
#include "morvanel/state/state_fwd.h"

namespace dba {
class DBFile;
}
namespace forms {
class Services;
}
namespace morvanel::fields {

// What the code box and the sigle fields work with. Built from the
// control's context in one place (CodeSigleDeps::From). Refers to everything,
// owns nothing.
struct CodeSigleDeps {
  state::UrssafScreen& ecran;
  // Art_CentreUrssaf, ArticleInitial, ListeCentres.
  state::InstanceState& etat;
  forms::Services& services;
  // Opened by Init; the lookup reads the typed code in it.
  const dba::DBFile& F_CentreUrssaf;
  // A centre shown half-way is taken off the screen again.
  std::function<void()> Vider_Donnees;

  [[nodiscard]] static CodeSigleDeps From(state::UrssafContext& ctx);
};

class CodeSigleFields {
 public:
  explicit CodeSigleFields(CodeSigleDeps deps) : d_(std::move(deps)) {}
  // Installs the handlers on the screen's controls, all but the code box's
  // Change: the control runs the lookup, these two steps among others.
  void Attach();

  // The lookup's first step: the code typed, the record read. True when a
  // centre was read that can go on screen; otherwise the search is back
  // with what the clerk is told.
  bool Lire_Centre();
  // Its last step: `afficher` puts the centre read on screen; then the
  // found-centre screen, or the search again when `afficher` failed.
  void Afficher_Centre(const std::function<void()>& afficher);

  void Txt_CodCtrUrssaf_KeyPress(int& keyAscii);
  void Txt_CodCtrUrssaf_LostFocus();
  void Cbo_SigleCtrUrssaf_Click();
  void Txt_SigleCtrUrssaf_LostFocus();

 private:
  void Revenir_Recherche(const char* message = nullptr);

  CodeSigleDeps d_;
  // Set by the lookup when it ended with a centre on screen; the choice by
  // sigle reads it to finish only what the lookup really showed.
  bool centreAffiche_ = false;
};

}  // namespace morvanel::fields
