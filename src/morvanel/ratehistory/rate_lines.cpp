// The rate history's lines as plain columns: newest-first sort and shown
// rate text. Rate history subsystem; pure functions.
#include "morvanel/ratehistory/rate_lines.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>

#include "morvanel/state/record_vocabulary.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::ratehistory {

namespace {

using records::centre::kPuissanceTaux;

// Takes cell i out of its column (it is put back in its sorted place).
std::string Cellule(std::vector<std::string>& colonne, std::size_t i) {
  return i < colonne.size() ? std::move(colonne[i]) : std::string();
}

// Puts the sorted cells in place; cells past the column's old end are only
// kept when a non-empty one follows them.
void Reecrire(std::vector<std::string>& colonne, std::vector<std::string>& cellules) {
  const std::size_t ancienne = colonne.size();
  if (colonne.size() < cellules.size()) colonne.resize(cellules.size());
  std::move(cellules.begin(), cellules.end(), colonne.begin());
  while (colonne.size() > ancienne && colonne.back().empty()) colonne.pop_back();
}

}  // namespace

bool TrierLignesParDate(std::vector<std::string>& dates, std::vector<std::string>& taux,
                        std::size_t count) {
  if (count < 2) return false;
  std::vector<std::int64_t> cle(count);
  for (std::size_t i = 0; i < count && i < dates.size(); ++i) {
    cle[i] = utilitaires::ValeurNumerique(dates[i]);
  }

  std::vector<std::size_t> ordre(count);
  std::iota(ordre.begin(), ordre.end(), std::size_t{0});
  std::stable_sort(ordre.begin(), ordre.end(),
                   [&cle](std::size_t a, std::size_t b) { return cle[a] > cle[b]; });
  bool enPlace = true;
  for (std::size_t i = 0; i < count && enPlace; ++i) enPlace = ordre[i] == i;
  if (enPlace) return false;

  std::vector<std::string> nouvellesDates(count);
  std::vector<std::string> nouveauxTaux(count);
  for (std::size_t i = 0; i < count; ++i) {
    nouvellesDates[i] = Cellule(dates, ordre[i]);
    nouveauxTaux[i] = Cellule(taux, ordre[i]);
  }
  Reecrire(dates, nouvellesDates);
  Reecrire(taux, nouveauxTaux);
  return true;
}

std::string TexteTaux(const utilitaires::Utilitaires& u, std::string_view stocke) {
  if (stocke.empty()) return {};
  std::optional<std::string> pourcentage = utilitaires::DepuisStocke(stocke, kPuissanceTaux);
  if (!pourcentage) {
    // A rate written with decimals ("12500.5") is still a number: scale it
    // through whole millionths so that nothing is lost before the rounding.
    if (auto millioniemes = utilitaires::VersStocke(stocke, kPuissanceTaux)) {
      pourcentage = utilitaires::DepuisStocke(std::to_string(*millioniemes), 2 * kPuissanceTaux);
    }
  }
  if (!pourcentage) return {};
  return u.Formater_Nombre(*pourcentage, 2, 3, 0);
}

}  // namespace morvanel::ratehistory
