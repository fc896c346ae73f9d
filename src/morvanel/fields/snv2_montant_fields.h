// The SNV2 address code (nine digits or nothing) and the flat amount per
// hour (a decimal amount with two decimals). Field entry subsystem.
#pragma once

#include "morvanel/state/urssaf_context.h"

namespace morvanel::fields {

class Snv2MontantFields {
 public:
  explicit Snv2MontantFields(shell::UrssafContext& ctx) : ctx_(ctx) {}
  // Installs the handlers on the two boxes.
  void Attach();

  void Txt_CodeSNV2_KeyPress(int& keyAscii);
  void Txt_CodeSNV2_LostFocus();
  void Txt_MontForfait_KeyPress(int& keyAscii);
  void Txt_MontForfait_LostFocus();

 private:
  shell::UrssafContext& ctx_;
};

// A SNV2 code the centre may keep: empty, or exactly nine digits.
[[nodiscard]] bool CodeSNV2Valide(std::string_view code);

}  // namespace morvanel::fields
