// The centre code box and the two sigle fields: lookup by code, leading
// zeros, choice by sigle, sigle in capitals. Field entry subsystem.
#pragma once

#include <functional>
#include <utility>

namespace dba {
class DBFile;
}
namespace morvanel::view {
class Services;
}
namespace morvanel::shell {
struct UrssafContext;
struct UrssafScreen;
struct InstanceState;
}  // namespace morvanel::shell

namespace morvanel::fields {

// What the code box and the sigle fields work with. Built from the
// control's context in one place (CodeSigleDeps::De). Refers to everything,
// owns nothing.
struct CodeSigleDeps {
  shell::UrssafScreen& ecran;
  // Art_CentreUrssaf, ArticleInitial, ListeCentres.
  shell::InstanceState& etat;
  view::Services& services;
  // Opened by Init; the lookup reads the typed code in it.
  const dba::DBFile& F_CentreUrssaf;
  // The centre read goes on screen (Afficher, then Afficher_Donnees); a
  // failure half-way empties the screen again (Vider_Donnees).
  std::function<void()> Afficher;
  std::function<void()> Afficher_Donnees;
  std::function<void()> Vider_Donnees;

  [[nodiscard]] static CodeSigleDeps De(shell::UrssafContext& ctx);
};

class CodeSigleFields {
 public:
  explicit CodeSigleFields(CodeSigleDeps deps) : d_(std::move(deps)) {}
  // Installs the handlers on the screen's controls.
  void Attach();

  void Txt_CodCtrUrssaf_Change();
  void Txt_CodCtrUrssaf_KeyPress(int& keyAscii);
  void Txt_CodCtrUrssaf_LostFocus();
  void Cbo_SigleCtrUrssaf_Click();
  void Txt_SigleCtrUrssaf_LostFocus();

 private:
  void Afficher_Centre();
  void Revenir_Recherche();

  CodeSigleDeps d_;
  // Set by the lookup when it ended with a centre on screen; the choice by
  // sigle reads it to finish only what the lookup really showed.
  bool centreAffiche_ = false;
};

}  // namespace morvanel::fields
