// The SNV2 address code (nine digits or nothing) and the flat amount per
// hour (a decimal amount with two decimals). Field entry subsystem.
#pragma once

#include <functional>
#include <utility>
#include <string_view>
#include "morvanel/state/state_fwd.h"

namespace utilitaires {
class Utilitaires;
}
namespace forms {
class Services;
}
namespace morvanel::fields {

// What the two boxes work with. Built from the control's context in one
// place (Snv2MontantDeps::From). Refers to everything, owns nothing.
struct Snv2MontantDeps {
  // Txt_CodeSNV2, Txt_MontForfait and Cmd_Annuler.
  state::UrssafScreen& ecran;
  forms::Services& services;
  // Created at first use: asked for each time, never kept.
  std::function<utilitaires::Utilitaires&()> Utilitaires;

  [[nodiscard]] static Snv2MontantDeps From(state::UrssafContext& ctx);
};

class Snv2MontantFields {
 public:
  explicit Snv2MontantFields(Snv2MontantDeps deps) : d_(std::move(deps)) {}
  // Installs the handlers on the two boxes.
  void Attach();

  void Txt_CodeSNV2_KeyPress(int& keyAscii);
  void Txt_CodeSNV2_LostFocus();
  void Txt_MontForfait_KeyPress(int& keyAscii);
  void Txt_MontForfait_LostFocus();

 private:
  Snv2MontantDeps d_;
};

// A SNV2 code the centre may keep: empty, or exactly nine digits.
[[nodiscard]] bool CodeSNV2Valide(std::string_view code);

}  // namespace morvanel::fields
