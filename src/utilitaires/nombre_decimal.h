// Decimal numbers read from text and written back, digit by digit.
// Utility layer (src/utilitaires, no Qt); private to the component.
//
// Amounts and rates never go through binary floating point here: 0,29 read as
// a double is 0.28999999999999998, and a stored number or a shown rate built
// from it would be off by one unit.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace utilitaires {

// A number as written: sign, whole digits without leading zeros (empty for
// zero), decimal digits as typed. Views into the text that was read.
struct NombreDecimal {
  bool negatif = false;
  std::string_view entiers;
  std::string_view decimales;
};

// Reads "[spaces][+|-]digits[(.|,)digits][spaces]" with at least one digit.
// No grouping, no exponent: "1 000", "1e3" and "," are not numbers.
[[nodiscard]] std::optional<NombreDecimal> LireNombreDecimal(std::string_view texte);

// The number rounded half away from zero to `decimales` decimals, written
// with a decimal comma ("-0,125", 2 -> "-0,13"). A result of zero carries no
// sign. `decimales` is taken within 0..kDecimalesMax.
inline constexpr int kDecimalesMax = 18;
[[nodiscard]] std::string EcrireNombre(const NombreDecimal& nombre, int decimales);

}  // namespace utilitaires
