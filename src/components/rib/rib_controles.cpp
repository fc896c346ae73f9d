// The checks of bank details. Outside components, bank-details control.
#include "components/rib/rib_controles.h"

namespace components::rib_detail {
namespace {

constexpr std::size_t kLongueurMinIban = 15;
constexpr std::size_t kLongueurMaxIban = 34;
constexpr std::size_t kLongueurIbanFrancais = 27;
constexpr std::size_t kGroupe = 4;

bool Chiffre(char c) { return c >= '0' && c <= '9'; }
bool Lettre(char c) { return c >= 'A' && c <= 'Z'; }
bool Alphanumerique(char c) { return Chiffre(c) || Lettre(c); }

char Capitale(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool QueDes(std::string_view texte, bool (*admis)(char)) {
  for (char c : texte) {
    if (!admis(c)) return false;
  }
  return true;
}

bool Blanc(std::string_view texte) {
  return QueDes(texte, [](char c) { return c == ' '; });
}

std::string StripBlanksUpper(std::string_view saisie) {
  std::string s;
  s.reserve(saisie.size());
  for (char c : saisie) {
    if (c != ' ') s += Capitale(c);
  }
  return s;
}

// A letter of a French account number as the RIB key counts it.
int ValeurRib(char c) {
  if (Chiffre(c)) return c - '0';
  if (c >= 'A' && c <= 'I') return c - 'A' + 1;
  if (c >= 'J' && c <= 'R') return c - 'J' + 1;
  return c - 'S' + 2;  // S..Z
}

// Remainder modulo 97 of a code, digit by digit; -1 for another character.
int ModuloRib(std::string_view code, bool lettresAdmises) {
  int reste = 0;
  for (char c : code) {
    if (!Chiffre(c) && !(lettresAdmises && Lettre(c))) return -1;
    reste = (reste * 10 + ValeurRib(c)) % 97;
  }
  return reste;
}

}  // namespace

std::string NormaliserIban(std::string_view saisie) { return StripBlanksUpper(saisie); }

std::string NormaliserBic(std::string_view saisie) { return StripBlanksUpper(saisie); }

std::string GrouperIban(std::string_view iban) {
  std::string groupe;
  groupe.reserve(iban.size() + iban.size() / kGroupe);
  for (std::size_t i = 0; i < iban.size(); ++i) {
    if (i > 0 && i % kGroupe == 0) groupe += ' ';
    groupe += iban[i];
  }
  return groupe;
}

std::optional<int> Modulo97(std::string_view texte) {
  int reste = 0;
  for (char c : texte) {
    if (Chiffre(c)) {
      reste = (reste * 10 + (c - '0')) % 97;
    } else if (Lettre(c)) {
      reste = (reste * 100 + (c - 'A' + 10)) % 97;
    } else {
      return std::nullopt;
    }
  }
  return reste;
}

bool IbanValide(std::string_view iban) {
  if (iban.size() < kLongueurMinIban || iban.size() > kLongueurMaxIban) return false;
  if (!Lettre(iban[0]) || !Lettre(iban[1]) || !Chiffre(iban[2]) || !Chiffre(iban[3])) return false;
  if (!QueDes(iban.substr(4), Alphanumerique)) return false;
  if (iban.substr(0, 2) == "FR" && iban.size() != kLongueurIbanFrancais) return false;
  std::string tourne(iban.substr(4));
  tourne += iban.substr(0, 4);
  return Modulo97(tourne) == 1;
}

RibFrancais DecouperIbanFrancais(std::string_view iban) {
  if (iban.size() != kLongueurIbanFrancais || iban.substr(0, 2) != "FR") return {};
  RibFrancais rib{std::string(iban.substr(4, 5)), std::string(iban.substr(9, 5)),
                  std::string(iban.substr(14, 11)), std::string(iban.substr(25, 2))};
  if (!QueDes(rib.banque, Chiffre) || !QueDes(rib.guichet, Chiffre) ||
      !QueDes(rib.compte, Alphanumerique) || !QueDes(rib.cle, Chiffre)) {
    return {};
  }
  return rib;
}

int CleRib(std::string_view banque, std::string_view guichet, std::string_view compte) {
  const int b = ModuloRib(banque, false);
  const int g = ModuloRib(guichet, false);
  const int c = ModuloRib(compte, true);
  if (b < 0 || g < 0 || c < 0) return -1;
  return 97 - (89 * b + 15 * g + 3 * c) % 97;
}

bool BicValide(std::string_view bic) {
  if (bic.size() != 8 && bic.size() != 11) return false;
  return QueDes(bic.substr(0, 6), Lettre) && QueDes(bic.substr(6), Alphanumerique);
}

std::optional<Refus> VerifierSaisie(const Saisie& saisie) {
  const std::string iban = NormaliserIban(saisie.iban);
  const std::string bic = NormaliserBic(saisie.bic);
  if (!iban.empty() && Blanc(saisie.titulaire)) {
    return Refus{ChampRib::Titulaire, kMsgTitulaireObligatoire};
  }
  if (!iban.empty()) {
    if (!IbanValide(iban)) return Refus{ChampRib::Iban, kMsgIbanInvalide};
    if (iban.substr(0, 2) == "FR") {
      const RibFrancais rib = DecouperIbanFrancais(iban);
      // Bank and branch codes with letters make no French IBAN at all.
      if (!rib.Present()) return Refus{ChampRib::Iban, kMsgIbanInvalide};
      if (CleRib(rib.banque, rib.guichet, rib.compte) != std::stoi(rib.cle)) {
        return Refus{ChampRib::Iban, kMsgCleRibInvalide};
      }
    }
  }
  if (!bic.empty()) {
    if (!BicValide(bic)) return Refus{ChampRib::Bic, kMsgBicInvalide};
    if (!iban.empty() && bic.substr(4, 2) != iban.substr(0, 2)) {
      return Refus{ChampRib::Bic, kMsgBicInvalide};
    }
  }
  return std::nullopt;
}

}  // namespace components::rib_detail
