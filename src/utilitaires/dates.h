// Calendar dates and the day numbers under which the database keeps them.
// Utility layer (src/utilitaires, no Qt). Pure arithmetic, no allocation.
//
// A stored date is a day number: day 0 is 31/12/1967, so 01/01/1968 is 1 and
// 30/12/1967 is -1. The numbers grow with the date, which is what sorting
// and the duplicate-date check rely on. Only years kAnneeMin..kAnneeMax are
// dates here: wider years are almost always typing slips ("2204" for "2024")
// and a payroll history never needs them.
#pragma once

#include <cstdint>
#include <optional>

namespace utilitaires {

inline constexpr int kAnneeMin = 1900;
inline constexpr int kAnneeMax = 2099;

struct DateCivile {
  int annee = 0;
  int mois = 0;  // 1..12
  int jour = 0;  // 1..31
  friend bool operator==(const DateCivile&, const DateCivile&) = default;
};

[[nodiscard]] constexpr bool EstBissextile(int annee) {
  return (annee % 4 == 0 && annee % 100 != 0) || annee % 400 == 0;
}

[[nodiscard]] constexpr int JoursDuMois(int annee, int mois) {
  constexpr int kJours[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mois < 1 || mois > 12) return 0;
  return (mois == 2 && EstBissextile(annee)) ? 29 : kJours[mois - 1];
}

// A real calendar date within the years handled.
[[nodiscard]] constexpr bool EstDateValide(DateCivile d) {
  return d.annee >= kAnneeMin && d.annee <= kAnneeMax && d.mois >= 1 && d.mois <= 12 &&
         d.jour >= 1 && d.jour <= JoursDuMois(d.annee, d.mois);
}

// Day number of a valid date (day 0 = 31/12/1967).
[[nodiscard]] std::int64_t NumeroDuJour(DateCivile d);

// The date of a day number; nullopt when it falls outside the years handled.
[[nodiscard]] std::optional<DateCivile> DateDuNumero(std::int64_t numero);

// Today's date on the local clock.
[[nodiscard]] DateCivile DateDuJour();

}  // namespace utilitaires
