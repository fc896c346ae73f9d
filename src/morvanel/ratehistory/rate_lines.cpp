// The rate history's lines as plain columns: newest-first sort and shown
// rate text. Rate history subsystem; pure functions.
#include "morvanel/ratehistory/rate_lines.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>

#include "dba/citem.h"
#include "morvanel/state/record_vocabulary.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::ratehistory {

namespace {

using records::centre::kPuissanceTaux;

// Takes cell i out of its column (it is put back in its sorted place).
template <class Texte>
Texte Cellule(std::vector<Texte>& colonne, std::size_t i) {
  return i < colonne.size() ? std::move(colonne[i]) : Texte();
}

// Puts the sorted cells in place; cells past the column's old end are only
// kept when a non-empty one follows them.
template <class Texte>
void Reecrire(std::vector<Texte>& colonne, std::vector<Texte>& cellules) {
  const std::size_t ancienne = colonne.size();
  if (colonne.size() < cellules.size()) colonne.resize(cellules.size());
  std::move(cellules.begin(), cellules.end(), colonne.begin());
  while (colonne.size() > ancienne && colonne.back().empty()) colonne.pop_back();
}

template <class Texte>
bool Trier(std::vector<Texte>& dates, std::vector<Texte>& taux, std::size_t count) {
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

  std::vector<Texte> nouvellesDates(count);
  std::vector<Texte> nouveauxTaux(count);
  for (std::size_t i = 0; i < count; ++i) {
    nouvellesDates[i] = Cellule(dates, ordre[i]);
    nouveauxTaux[i] = Cellule(taux, ordre[i]);
  }
  Reecrire(dates, nouvellesDates);
  Reecrire(taux, nouveauxTaux);
  return true;
}

// A cell of plain digits, by far the most common, written straight: the
// general path below gives the same text through two conversions, and a
// history of 32767 lines is shown within a frame.
std::optional<std::string> TexteChiffres(std::string_view stocke) {
  constexpr std::size_t kDecimales = kPuissanceTaux;
  constexpr std::size_t kChiffresMax = 18;  // a whole number that fits in 64 bits
  if (stocke.empty() || stocke.size() > kChiffresMax) return std::nullopt;
  for (char c : stocke) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  // At least one whole digit ("7" reads "0007"), and no more leading zeros.
  char chiffres[kChiffresMax + kDecimales + 1];
  const std::size_t zeros = stocke.size() <= kDecimales ? kDecimales + 1 - stocke.size() : 0;
  std::fill(chiffres, chiffres + zeros, '0');
  stocke.copy(chiffres + zeros, stocke.size());
  std::string_view nombre(chiffres, zeros + stocke.size());
  while (nombre.size() > kDecimales + 1 && nombre.front() == '0') nombre.remove_prefix(1);
  const std::size_t entiers = nombre.size() - kDecimales;
  char texte[kChiffresMax + 2];
  nombre.copy(texte, entiers);
  texte[entiers] = ',';
  nombre.copy(texte + entiers + 1, kDecimales, entiers);
  return std::string(texte, nombre.size() + 1);
}

}  // namespace

bool TrierLignesParDate(std::vector<std::string>& dates, std::vector<std::string>& taux,
                        std::size_t count) {
  return Trier(dates, taux, count);
}

bool TrierLignesParDate(std::vector<std::string_view>& dates, std::vector<std::string_view>& taux,
                        std::size_t count) {
  return Trier(dates, taux, count);
}

std::optional<std::size_t> PlacerLigne(std::vector<std::string_view>& dates,
                                       std::vector<std::string_view>& taux, std::size_t ligne) {
  const std::size_t n = dates.size();
  if (ligne >= n || taux.size() != n) return std::nullopt;
  const std::int64_t cle = utilitaires::ValeurNumerique(dates[ligne]);
  // Newest first, equal dates in their order: the line goes after the
  // newer ones and after the equal ones that came before it.
  std::size_t avant = 0;
  std::int64_t precedente = std::numeric_limits<std::int64_t>::max();
  for (std::size_t i = 0; i < n; ++i) {
    if (i == ligne) continue;
    const std::int64_t c = utilitaires::ValeurNumerique(dates[i]);
    if (c > precedente) return std::nullopt;
    precedente = c;
    if (c > cle || (c == cle && i < ligne)) ++avant;
  }
  for (auto* colonne : {&dates, &taux}) {
    const auto debut = colonne->begin();
    if (avant < ligne) {
      std::rotate(debut + static_cast<std::ptrdiff_t>(avant),
                  debut + static_cast<std::ptrdiff_t>(ligne),
                  debut + static_cast<std::ptrdiff_t>(ligne + 1));
    } else if (avant > ligne) {
      std::rotate(debut + static_cast<std::ptrdiff_t>(ligne),
                  debut + static_cast<std::ptrdiff_t>(ligne + 1),
                  debut + static_cast<std::ptrdiff_t>(avant + 1));
    }
  }
  return avant;
}

// Values are a few characters long: a plain loop beats a library search.
std::string_view Valeurs::Suivante() {
  if (fini_) return {};
  std::size_t fin = 0;
  while (fin < reste_.size() && reste_[fin] != dba::kValueMark) ++fin;
  const std::string_view valeur = reste_.substr(0, fin);
  if (fin == reste_.size()) {
    fini_ = true;
  } else {
    reste_.remove_prefix(fin + 1);
  }
  return valeur;
}

std::size_t NombreDeValeurs(std::string_view attribut) {
  if (attribut.empty()) return 0;
  return static_cast<std::size_t>(std::count(attribut.begin(), attribut.end(), dba::kValueMark)) +
         1;
}

std::vector<std::string_view> Cellules(std::string_view attribut) {
  const std::size_t nombre = NombreDeValeurs(attribut);
  std::vector<std::string_view> cellules;
  cellules.reserve(nombre);
  Valeurs valeurs(attribut);
  for (std::size_t i = 0; i < nombre; ++i) cellules.push_back(valeurs.Suivante());
  return cellules;
}

std::string Joindre(const std::vector<std::string_view>& cellules) {
  std::size_t taille = cellules.size();
  for (std::string_view c : cellules) taille += c.size();
  std::string texte;
  texte.reserve(taille);
  for (std::size_t i = 0; i < cellules.size(); ++i) {
    if (i > 0) texte.push_back(dba::kValueMark);
    texte.append(cellules[i]);
  }
  return texte;
}

std::string TexteTaux(const utilitaires::Utilitaires& u, std::string_view stocke) {
  if (stocke.empty()) return {};
  if (auto chiffres = TexteChiffres(stocke)) return std::move(*chiffres);
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
