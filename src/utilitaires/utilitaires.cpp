// The number key filter, number formatting and the shown <-> stored date
// conversions of the utility component. Utility layer (src/utilitaires, no
// Qt). Formatting runs once per rate line when a centre is shown: no streams,
// no locale, at most the result string is allocated.
#include "utilitaires/utilitaires.h"

#include "utilitaires/nombre_decimal.h"

namespace utilitaires {
namespace {

constexpr int kVirgule = ',';

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }

// Reads 1..max_chiffres digits at the front of `t`; -1 when there are none.
int LireEntier(std::string_view& t, std::size_t max_chiffres) {
  std::size_t n = 0;
  int valeur = 0;
  while (n < t.size() && n < max_chiffres && EstChiffre(t[n])) {
    valeur = valeur * 10 + (t[n++] - '0');
  }
  t.remove_prefix(n);
  return n == 0 ? -1 : valeur;
}

bool LireCaractere(std::string_view& t, char c) {
  if (t.empty() || t.front() != c) return false;
  t.remove_prefix(1);
  return true;
}

// "d/m/yyyy" with one or two digits for day and month, four for the year.
std::optional<DateCivile> LireDateAffichee(std::string_view t) {
  DateCivile d;
  d.jour = LireEntier(t, 2);
  if (d.jour < 0 || !LireCaractere(t, '/')) return std::nullopt;
  d.mois = LireEntier(t, 2);
  if (d.mois < 0 || !LireCaractere(t, '/')) return std::nullopt;
  const std::size_t reste = t.size();
  d.annee = LireEntier(t, 4);
  if (reste - t.size() != 4 || !t.empty()) return std::nullopt;
  return d;
}

void EcrireDeuxChiffres(char* out, int valeur) {
  out[0] = static_cast<char>('0' + valeur / 10);
  out[1] = static_cast<char>('0' + valeur % 10);
}

}  // namespace

void Utilitaires::Filtrer_Nombre(std::string_view texteBoite, int& keyAscii, int /*option*/) const {
  if (keyAscii == kBackspace || keyAscii == kTab) return;
  if (keyAscii >= '0' && keyAscii <= '9') return;
  if (keyAscii == '.' || keyAscii == ',') {
    const bool a_separateur = texteBoite.find_first_of(",.") != std::string_view::npos;
    keyAscii = a_separateur ? 0 : kVirgule;
    return;
  }
  keyAscii = 0;  // signs, letters, spaces, control keys
}

std::string Utilitaires::Formater_NombreControle(std::string_view texteBoite, int mode,
                                                 int decimales) const {
  return Formater_Nombre(texteBoite, mode, decimales, 0);
}

std::string Utilitaires::Formater_Nombre(std::string_view nombre, int /*mode*/, int decimales,
                                         int /*option*/) const {
  const auto lu = LireNombreDecimal(nombre);
  if (!lu) return {};
  return EcrireNombre(*lu, decimales);
}

std::string Utilitaires::Convertir_DateAffichage(std::string_view stocke) const {
  std::string_view t = stocke;
  const bool negatif = LireCaractere(t, '-');
  // Seven digits are far beyond the years handled and cannot overflow.
  if (t.empty() || t.size() > 7) return {};
  std::int64_t numero = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return {};
    numero = numero * 10 + (c - '0');
  }
  const auto date = DateDuNumero(negatif ? -numero : numero);
  if (!date) return {};
  char texte[10] = {0, 0, '/', 0, 0, '/'};
  EcrireDeuxChiffres(texte, date->jour);
  EcrireDeuxChiffres(texte + 3, date->mois);
  EcrireDeuxChiffres(texte + 6, date->annee / 100);
  EcrireDeuxChiffres(texte + 8, date->annee % 100);
  return std::string(texte, sizeof texte);
}

std::string Utilitaires::Convertir_DateStockage(std::string_view affiche) const {
  const auto date = LireDateAffichee(affiche);
  if (!date || !EstDateValide(*date)) return {};
  return std::to_string(NumeroDuJour(*date));
}

DateCivile Utilitaires::Aujourdhui() const { return aujourdhui_ ? *aujourdhui_ : DateDuJour(); }

}  // namespace utilitaires
