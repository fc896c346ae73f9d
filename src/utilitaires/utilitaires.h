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
//
// Dates: years 1900..2099 only (see dates.h); 30/12/1967 is stored as "-1".
// Numbers: "12.5", "12,5", " 12,5 ", "-3", "+3", "12," and ",5" are numbers;
// "", ",", "1 000", "1e3" and "12abc" are not. Rounding is half away from
// zero, done on the decimal digits. The arguments `mode` (2) and `option` (0)
// select nothing: there is one writing of numbers and one key filter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "utilitaires/dates.h"

namespace utilitaires {

inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;

class Utilitaires {
 public:
  // "Today" (for dates typed without a year) is read from the local clock at
  // each completion.
  Utilitaires() = default;
  // "Today" is fixed, for reproducible completions.
  explicit Utilitaires(DateCivile aujourdhui) : aujourdhui_(aujourdhui) {}

  // Key filter of a decimal number box. `texteBoite` is the box's text
  // before the key. Lets digits through, one decimal separator (a typed "."
  // or "," becomes ","), Backspace and Tab; every other key becomes 0.
  // A minus sign is refused: amounts and rates are never negative.
  void Filtrer_Nombre(std::string_view texteBoite, int& keyAscii, int option = 0) const;

  // The box's number written with `decimales` decimals ("" when the text is
  // not a number): "12,5" -> "12,50", "12," -> "12,00", "," -> "" (a box
  // holding only a comma is emptied rather than turned into a silent zero).
  [[nodiscard]] std::string Formater_NombreControle(std::string_view texteBoite, int mode,
                                                    int decimales) const;
  // A number given as text ("12.5", "12,5", "-3") written with `decimales`
  // decimals, decimal comma, no grouping ("12,50"). "" when not a number.
  // Rounded half away from zero: "0,125" with 2 decimals is "0,13". A zero
  // result has no sign. `decimales` is taken within 0..18.
  [[nodiscard]] std::string Formater_Nombre(std::string_view nombre, int mode, int decimales,
                                            int option = 0) const;

  // Stored day number -> "dd/mm/yyyy" ("" when not a stored date). Only an
  // optional "-" and digits are a stored date: "", " 1", "1.5" are not.
  [[nodiscard]] std::string Convertir_DateAffichage(std::string_view stocke) const;
  // "dd/mm/yyyy" (a real calendar date) -> stored day number; "" otherwise.
  // Day and month may have one or two digits ("1/2/2024"); the year has four
  // and nothing else may surround the date. Two-digit years are refused here:
  // Completer_Date turns them into four first.
  [[nodiscard]] std::string Convertir_DateStockage(std::string_view affiche) const;
  // Completes what a clerk typed: 1/2/24, 010224, 01022024, 1/2 (current
  // year) -> "01/02/2024". Text that cannot be completed is returned as is.
  //   Forms (spaces around are dropped; "." and "-" count as "/"):
  //     d/m, d/m/, ddmm           -> the current year
  //     d/m/yy, ddmmyy            -> two-digit year, fixed window:
  //                                  00..49 -> 2000..2049, 50..99 -> 1950..1999
  //     d/m/yyyy, ddmmyyyy        -> day and month padded to two digits
  //   d and m have one or two digits. The result is not checked against the
  //   calendar ("31/02/24" -> "31/02/2024"): Convertir_DateStockage refuses it
  //   and the clerk sees what was understood. `option` selects nothing.
  [[nodiscard]] std::string Completer_Date(std::string_view saisie, int option = 0) const;

 private:
  [[nodiscard]] DateCivile Aujourdhui() const;

  std::optional<DateCivile> aujourdhui_;  // empty: the local clock
};

// Scaled stored numbers (amount x 100, rate x 1000): `texte` is a decimal
// number ("12,5", "0.29", "-1"); the result is texte x 10^puissance rounded
// half away from zero, computed in decimal so 0,29 x 100 is exactly 29.
// nullopt when the text is not a number, when the result does not fit in 64
// bits, or when `puissance` is outside 0..18.
[[nodiscard]] std::optional<std::int64_t> VersStocke(std::string_view texte, int puissance);

// The reverse: a stored whole number divided by 10^puissance, written with a
// "." and no trailing zeros ("1250", 2 -> "12.5"), ready for Formater_Nombre.
// nullopt when `stocke` is not a whole number (spaces around and a sign are
// allowed; "12.0" is refused) or `puissance` is outside 0..18.
[[nodiscard]] std::optional<std::string> DepuisStocke(std::string_view stocke, int puissance);

// The leading number of a text (the numeric value multivalue systems give a
// stored date): "20486" -> 20486, "12abc" -> 12, "" or "abc" -> 0. A number
// too long for 64 bits gives the largest value, with its sign.
[[nodiscard]] std::int64_t ValeurNumerique(std::string_view texte);

}  // namespace utilitaires
