// The centre code box and the two sigle fields: lookup by code, leading
// zeros, choice by sigle, sigle in capitals. Field entry subsystem.
#pragma once

#include "morvanel/state/urssaf_context.h"

namespace morvanel::fields {

class CodeSigleFields {
 public:
  explicit CodeSigleFields(shell::UrssafContext& ctx) : ctx_(ctx) {}
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

  shell::UrssafContext& ctx_;
  // Set by the lookup when it ended with a centre on screen; the choice by
  // sigle reads it to finish only what the lookup really showed.
  bool centreAffiche_ = false;
};

}  // namespace morvanel::fields
