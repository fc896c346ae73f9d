// Day numbers <-> calendar dates (proleptic Gregorian), and today's date.
// Utility layer (src/utilitaires, no Qt). Integer arithmetic only: these run
// once per rate line when a centre is shown.
#include "utilitaires/dates.h"

#include <ctime>

namespace utilitaires {
namespace {

// Days since 01/01/1970, counted in 400-year eras from 01/03/0000 so that the
// leap day falls at the end of each counted year.
constexpr std::int64_t JoursDepuis1970(std::int64_t a, int m, int j) {
  a -= m <= 2 ? 1 : 0;
  const std::int64_t ere = (a >= 0 ? a : a - 399) / 400;
  const std::int64_t annee_ere = a - ere * 400;
  const std::int64_t jour_annee = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + j - 1;
  const std::int64_t jour_ere = annee_ere * 365 + annee_ere / 4 - annee_ere / 100 + jour_annee;
  return ere * 146097 + jour_ere - 719468;
}

constexpr DateCivile DateDepuis1970(std::int64_t z) {
  z += 719468;
  const std::int64_t ere = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t jour_ere = z - ere * 146097;
  const std::int64_t annee_ere =
      (jour_ere - jour_ere / 1460 + jour_ere / 36524 - jour_ere / 146096) / 365;
  const std::int64_t jour_annee = jour_ere - (365 * annee_ere + annee_ere / 4 - annee_ere / 100);
  const std::int64_t mp = (5 * jour_annee + 2) / 153;
  const int jour = static_cast<int>(jour_annee - (153 * mp + 2) / 5 + 1);
  const int mois = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int annee = static_cast<int>(annee_ere + ere * 400 + (mois <= 2 ? 1 : 0));
  return {annee, mois, jour};
}

constexpr std::int64_t kJourZero = JoursDepuis1970(1967, 12, 31);
constexpr std::int64_t kNumeroMin = JoursDepuis1970(kAnneeMin, 1, 1) - kJourZero;
constexpr std::int64_t kNumeroMax = JoursDepuis1970(kAnneeMax, 12, 31) - kJourZero;

static_assert(JoursDepuis1970(2024, 2, 1) - kJourZero == 20486);
static_assert(DateDepuis1970(kJourZero + 1) == DateCivile{1968, 1, 1});

}  // namespace

std::int64_t NumeroDuJour(DateCivile d) {
  return JoursDepuis1970(d.annee, d.mois, d.jour) - kJourZero;
}

std::optional<DateCivile> DateDuNumero(std::int64_t numero) {
  if (numero < kNumeroMin || numero > kNumeroMax) return std::nullopt;
  return DateDepuis1970(numero + kJourZero);
}

DateCivile DateDuJour() {
  const std::time_t maintenant = std::time(nullptr);
  std::tm local{};
  localtime_r(&maintenant, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace utilitaires
