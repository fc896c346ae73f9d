// Scaled stored numbers (amount x 100, rate x 1000) and the leading number of
// a stored text. Utility layer (src/utilitaires, no Qt). Whole-number
// arithmetic on the digits, with every overflow reported, never wrapped.
#include <cstdint>
#include <limits>

#include "utilitaires/nombre_decimal.h"
#include "utilitaires/utilitaires.h"

namespace utilitaires {
namespace {

constexpr int kPuissanceMax = 18;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// valeur * 10 + chiffre, false when it would not fit.
bool Empiler(std::int64_t& valeur, int chiffre) {
  if (valeur > (kMax - chiffre) / 10) return false;
  valeur = valeur * 10 + chiffre;
  return true;
}

std::string_view SansEspaces(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  return t;
}

}  // namespace

std::optional<std::int64_t> VersStocke(std::string_view texte, int puissance) {
  if (puissance < 0 || puissance > kPuissanceMax) return std::nullopt;
  const auto nombre = LireNombreDecimal(texte);
  if (!nombre) return std::nullopt;
  std::int64_t valeur = 0;
  for (char c : nombre->entiers) {
    if (!Empiler(valeur, c - '0')) return std::nullopt;
  }
  const std::string_view dec = nombre->decimales;
  const auto p = static_cast<std::size_t>(puissance);
  for (std::size_t i = 0; i < p; ++i) {
    if (!Empiler(valeur, i < dec.size() ? dec[i] - '0' : 0)) return std::nullopt;
  }
  if (dec.size() > p && dec[p] >= '5') {
    if (valeur == kMax) return std::nullopt;
    ++valeur;
  }
  return nombre->negatif ? -valeur : valeur;
}

std::optional<std::string> DepuisStocke(std::string_view stocke, int puissance) {
  if (puissance < 0 || puissance > kPuissanceMax) return std::nullopt;
  std::string_view t = SansEspaces(stocke);
  bool negatif = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negatif = t.front() == '-';
    t.remove_prefix(1);
  }
  if (t.empty() || t.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  while (t.size() > 1 && t.front() == '0') t.remove_prefix(1);
  if (t == "0") return std::string("0");

  const auto p = static_cast<std::size_t>(puissance);
  std::string r = negatif ? "-" : "";
  if (t.size() > p) {
    r.append(t.substr(0, t.size() - p));
    t.remove_prefix(t.size() - p);
  } else {
    r.append("0");
  }
  std::string_view dec = t;
  while (!dec.empty() && dec.back() == '0') dec.remove_suffix(1);
  if (!dec.empty()) {
    r.push_back('.');
    r.append(p - t.size(), '0');  // leading zeros of "5", 2 -> "0.05"
    r.append(dec);
  }
  return r;
}

std::int64_t ValeurNumerique(std::string_view texte) {
  std::string_view t = texte;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  bool negatif = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    negatif = t.front() == '-';
    t.remove_prefix(1);
  }
  std::int64_t valeur = 0;
  for (char c : t) {
    if (c < '0' || c > '9') break;
    if (!Empiler(valeur, c - '0')) {
      valeur = kMax;  // an absurd number stays the largest, with its sign
      break;
    }
  }
  return negatif ? -valeur : valeur;
}

}  // namespace utilitaires
