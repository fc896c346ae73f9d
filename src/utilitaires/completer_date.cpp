// Completion of a date as clerks type it ("1/2/24", "010224", "1/2") into
// the shown form "dd/mm/yyyy". Utility layer (src/utilitaires, no Qt).
// Only the shape is completed; the calendar check is Convertir_DateStockage's.
#include <algorithm>
#include <array>

#include "utilitaires/utilitaires.h"

namespace utilitaires {
namespace {

// Two-digit years 00..49 are 2000..2049, 50..99 are 1950..1999. The pivot is
// fixed so that a typed date never changes meaning as the years pass.
constexpr int kPivotSiecle = 50;

struct Morceaux {
  std::string_view jour, mois, annee;  // digits only; annee may be empty
};

bool QueDesChiffres(std::string_view t) {
  return std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view SansEspaces(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  return t;
}

bool EstSeparateur(char c) { return c == '/' || c == '.' || c == '-'; }

// "ddmm", "ddmmyy", "ddmmyyyy".
std::optional<Morceaux> DecouperChiffres(std::string_view t) {
  if (t.size() != 4 && t.size() != 6 && t.size() != 8) return std::nullopt;
  return Morceaux{t.substr(0, 2), t.substr(2, 2), t.substr(4)};
}

// "d/m", "d/m/", "d/m/yy", "d/m/yyyy" (day and month of one or two digits).
std::optional<Morceaux> DecouperSepare(std::string_view t) {
  std::array<std::string_view, 3> parts;
  std::size_t n = 0;
  for (;;) {
    const auto fin = std::find_if(t.begin(), t.end(), EstSeparateur);
    if (n == parts.size()) return std::nullopt;  // a fourth part
    parts[n++] = t.substr(0, static_cast<std::size_t>(fin - t.begin()));
    if (fin == t.end()) break;
    t.remove_prefix(static_cast<std::size_t>(fin - t.begin()) + 1);
  }
  if (n < 2) return std::nullopt;
  for (std::size_t i = 0; i < n; ++i) {
    if (!QueDesChiffres(parts[i])) return std::nullopt;
  }
  const auto court = [](std::string_view p) { return p.size() == 1 || p.size() == 2; };
  if (!court(parts[0]) || !court(parts[1])) return std::nullopt;
  return Morceaux{parts[0], parts[1], parts[2]};
}

void AjouterDeuxChiffres(std::string& r, std::string_view p) {
  if (p.size() == 1) r.push_back('0');
  r.append(p);
}

std::string AnneeSurQuatreChiffres(int annee) {
  std::string r = std::to_string(annee % 10000);
  r.insert(0, 4 - std::min<std::size_t>(r.size(), 4), '0');
  return r;
}

}  // namespace

std::string Utilitaires::Completer_Date(std::string_view saisie, int /*option*/) const {
  const std::string_view t = SansEspaces(saisie);
  const auto morceaux = QueDesChiffres(t) ? DecouperChiffres(t) : DecouperSepare(t);
  if (!morceaux) return std::string(saisie);

  const std::string_view a = morceaux->annee;
  int annee = 0;
  if (a.empty()) {
    annee = Aujourdhui().annee;
  } else if (a.size() == 2) {
    const int aa = (a[0] - '0') * 10 + (a[1] - '0');
    annee = aa < kPivotSiecle ? 2000 + aa : 1900 + aa;
  } else if (a.size() != 4) {
    return std::string(saisie);  // 1, 3 or 5+ digits: no sure year
  }

  std::string r;
  AjouterDeuxChiffres(r, morceaux->jour);
  r.push_back('/');
  AjouterDeuxChiffres(r, morceaux->mois);
  r.push_back('/');
  if (a.size() == 4) {
    r.append(a);
  } else {
    r.append(AnneeSurQuatreChiffres(annee));
  }
  return r;
}

}  // namespace utilitaires
