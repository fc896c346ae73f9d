// Utilitaires: key filter, number and date conversions used by the control.
// Utility layer (src/utilitaires, no Qt). Works on text: the control passes
// its boxes' texts.
//
// Conventions: decimal comma, no grouping; shown dates are dd/mm/yyyy; stored
// dates are the multivalue internal day number (day 0 = 31/12/1967) written
// as text, so they grow with the date.
//
//   utilitaires::Utilitaires u;
//   u.Convertir_DateStockage("01/02/2024");   // "20486"
//   u.Convertir_DateAffichage("20486");       // "01/02/2024"
//   u.Formater_Nombre("12.5", 2, 2, 0);        // "12,50"
//   utilitaires::VersStocke("0,29", 2);        // 29 (amount x 100)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace utilitaires {

inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;

class Utilitaires {
 public:
  // Key filter of a decimal number box. `texteBoite` is the box's text
  // before the key. Lets digits through, one decimal separator (a typed "."
  // or "," becomes ","), Backspace and Tab; every other key becomes 0.
  void Filtrer_Nombre(std::string_view texteBoite, int& keyAscii, int option = 0) const;

  // The box's number written with `decimales` decimals ("" when the text is
  // not a number).
  [[nodiscard]] std::string Formater_NombreControle(std::string_view texteBoite, int mode,
                                                    int decimales) const;
  // A number given as text ("12.5", "12,5", "-3") written with `decimales`
  // decimals, decimal comma, no grouping ("12,50"). "" when not a number.
  [[nodiscard]] std::string Formater_Nombre(std::string_view nombre, int mode, int decimales,
                                            int option = 0) const;

  // Stored day number -> "dd/mm/yyyy" ("" when not a stored date).
  [[nodiscard]] std::string Convertir_DateAffichage(std::string_view stocke) const;
  // "dd/mm/yyyy" (a real calendar date) -> stored day number; "" otherwise.
  [[nodiscard]] std::string Convertir_DateStockage(std::string_view affiche) const;
  // Completes what a clerk typed: 1/2/24, 010224, 01022024, 1/2 (current
  // year) -> "01/02/2024". Text that cannot be completed is returned as is.
  [[nodiscard]] std::string Completer_Date(std::string_view saisie, int option = 0) const;
};

// Scaled stored numbers (amount x 100, rate x 1000): `texte` is a decimal
// number ("12,5", "0.29", "-1"); the result is texte x 10^puissance rounded
// half away from zero, computed in decimal so 0,29 x 100 is exactly 29.
// nullopt when the text is not a number.
[[nodiscard]] std::optional<std::int64_t> VersStocke(std::string_view texte, int puissance);

// The reverse: a stored whole number divided by 10^puissance, written with a
// "." and no trailing zeros ("1250", 2 -> "12.5"), ready for Formater_Nombre.
// nullopt when `stocke` is not a whole number.
[[nodiscard]] std::optional<std::string> DepuisStocke(std::string_view stocke, int puissance);

// The leading number of a text (the numeric value multivalue systems give a
// stored date): "20486" -> 20486, "12abc" -> 12, "" or "abc" -> 0.
[[nodiscard]] std::int64_t ValeurNumerique(std::string_view texte);

}  // namespace utilitaires
