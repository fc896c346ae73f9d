// Reading and writing decimal numbers as text, with decimal rounding.
// Utility layer (src/utilitaires, no Qt). Runs once per rate line when a
// centre is shown, so it allocates at most the result string.
#include "utilitaires/nombre_decimal.h"

#include <algorithm>

namespace utilitaires {
namespace {

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }
bool EstBlanc(char c) { return c == ' ' || c == '\t'; }

std::string_view SansBlancs(std::string_view t) {
  while (!t.empty() && EstBlanc(t.front())) t.remove_prefix(1);
  while (!t.empty() && EstBlanc(t.back())) t.remove_suffix(1);
  return t;
}

std::string_view PrefixeChiffres(std::string_view t) {
  const auto fin = std::find_if_not(t.begin(), t.end(), EstChiffre);
  return t.substr(0, static_cast<std::size_t>(fin - t.begin()));
}

// Adds one unit to the last digit of `chiffres[debut..]`; true when the carry
// runs out of the first digit ("99" becomes "00" and the caller adds a "1").
bool AjouterUnite(std::string& chiffres, std::size_t debut) {
  for (std::size_t i = chiffres.size(); i > debut; --i) {
    char& c = chiffres[i - 1];
    if (c != '9') {
      ++c;
      return false;
    }
    c = '0';
  }
  return true;
}

}  // namespace

std::optional<NombreDecimal> LireNombreDecimal(std::string_view texte) {
  std::string_view t = SansBlancs(texte);
  NombreDecimal n;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    n.negatif = t.front() == '-';
    t.remove_prefix(1);
  }
  n.entiers = PrefixeChiffres(t);
  t.remove_prefix(n.entiers.size());
  if (!t.empty() && (t.front() == ',' || t.front() == '.')) {
    t.remove_prefix(1);
    n.decimales = PrefixeChiffres(t);
    t.remove_prefix(n.decimales.size());
  }
  if (!t.empty()) return std::nullopt;  // something else than the number
  if (n.entiers.empty() && n.decimales.empty()) return std::nullopt;
  while (!n.entiers.empty() && n.entiers.front() == '0') n.entiers.remove_prefix(1);
  return n;
}

std::string EcrireNombre(const NombreDecimal& nombre, int decimales) {
  const std::size_t n = static_cast<std::size_t>(std::clamp(decimales, 0, kDecimalesMax));
  std::string r;
  if (nombre.negatif) r.push_back('-');
  const std::size_t debut = r.size();
  r.append(nombre.entiers);
  r.append(nombre.decimales.substr(0, n));
  r.append(n - std::min(n, nombre.decimales.size()), '0');
  if (nombre.decimales.size() > n && nombre.decimales[n] >= '5' && AjouterUnite(r, debut)) {
    r.insert(debut, 1, '1');
  }
  if (r.size() - debut == n) r.insert(debut, 1, '0');  // no whole digit
  const bool zero = std::all_of(r.begin() + static_cast<std::ptrdiff_t>(debut), r.end(),
                                [](char c) { return c == '0'; });
  if (n > 0) r.insert(r.size() - n, 1, ',');
  if (zero && debut > 0) r.erase(0, debut);  // "-0,00" reads as a slip
  return r;
}

}  // namespace utilitaires
