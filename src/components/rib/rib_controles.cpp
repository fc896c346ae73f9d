// The checks of bank details. Outside components, bank-details control.
#include "components/rib/rib_controles.h"

namespace components::rib_detail {
namespace {

constexpr std::size_t kLongueurIbanFrancais = 27;
constexpr std::size_t kGroupe = 4;

struct LongueurIban {
  const char* pays;
  std::size_t longueur;
};

// The countries of the IBAN registry and the length of their IBANs. A
// country missing here has no IBAN: accepting any length there would let a
// mistyped French or German IBAN through once its check digits were redone.
constexpr LongueurIban kLongueursIban[] = {
    {"AD", 24}, {"AE", 23}, {"AL", 28}, {"AT", 20}, {"AZ", 28}, {"BA", 20}, {"BE", 16}, {"BG", 22},
    {"BH", 22}, {"BI", 27}, {"BR", 29}, {"BY", 28}, {"CH", 21}, {"CR", 22}, {"CY", 28}, {"CZ", 24},
    {"DE", 22}, {"DJ", 27}, {"DK", 18}, {"DO", 28}, {"EE", 20}, {"EG", 29}, {"ES", 24}, {"FI", 18},
    {"FK", 18}, {"FO", 18}, {"FR", 27}, {"GB", 22}, {"GE", 22}, {"GI", 23}, {"GL", 18}, {"GR", 27},
    {"GT", 28}, {"HN", 28}, {"HR", 21}, {"HU", 28}, {"IE", 22}, {"IL", 23}, {"IQ", 23}, {"IS", 26},
    {"IT", 27}, {"JO", 30}, {"KW", 30}, {"KZ", 20}, {"LB", 28}, {"LC", 32}, {"LI", 21}, {"LT", 20},
    {"LU", 20}, {"LV", 21}, {"LY", 25}, {"MC", 27}, {"MD", 24}, {"ME", 22}, {"MK", 19}, {"MN", 20},
    {"MR", 27}, {"MT", 31}, {"MU", 30}, {"NI", 28}, {"NL", 18}, {"NO", 15}, {"OM", 23}, {"PK", 24},
    {"PL", 28}, {"PS", 29}, {"PT", 25}, {"QA", 29}, {"RO", 24}, {"RS", 22}, {"RU", 33}, {"SA", 24},
    {"SC", 31}, {"SD", 18}, {"SE", 24}, {"SI", 19}, {"SK", 24}, {"SM", 27}, {"SO", 23}, {"ST", 25},
    {"SV", 28}, {"TL", 23}, {"TN", 24}, {"TR", 26}, {"UA", 29}, {"VA", 22}, {"VG", 24}, {"XK", 20},
    {"YE", 30},
};

// The ISO 3166 alpha-2 codes, and XK (Kosovo) which banks use as one.
constexpr std::string_view kPaysIso =
    "AD AE AF AG AI AL AM AO AQ AR AS AT AU AW AX AZ BA BB BD BE BF BG BH BI BJ BL BM BN BO BQ "
    "BR BS BT BV BW BY BZ CA CC CD CF CG CH CI CK CL CM CN CO CR CU CV CW CX CY CZ DE DJ DK DM "
    "DO DZ EC EE EG EH ER ES ET FI FJ FK FM FO FR GA GB GD GE GF GG GH GI GL GM GN GP GQ GR GS "
    "GT GU GW GY HK HM HN HR HT HU ID IE IL IM IN IO IQ IR IS IT JE JM JO JP KE KG KH KI KM KN "
    "KP KR KW KY KZ LA LB LC LI LK LR LS LT LU LV LY MA MC MD ME MF MG MH MK ML MM MN MO MP MQ "
    "MR MS MT MU MV MW MX MY MZ NA NC NE NF NG NI NL NO NP NR NU NZ OM PA PE PF PG PH PK PL PM "
    "PN PR PS PT PW PY QA RE RO RS RU RW SA SB SC SD SE SG SH SI SJ SK SL SM SN SO SR SS ST SV "
    "SX SY SZ TC TD TF TG TH TJ TK TL TM TN TO TR TT TV TW TZ UA UG UM US UY UZ VA VC VE VG VI "
    "VN VU WF WS XK YE YT ZA ZM ZW";

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

std::size_t LongueurIbanDe(std::string_view pays) {
  for (const LongueurIban& l : kLongueursIban) {
    if (pays == l.pays) return l.longueur;
  }
  return 0;
}

bool PaysIso(std::string_view pays) {
  for (std::size_t i = 0; i + 2 <= kPaysIso.size(); i += 3) {
    if (kPaysIso.substr(i, 2) == pays) return true;
  }
  return false;
}

// Monaco's accounts are French RIBs inside an IBAN of the French layout.
bool IbanAvecRib(std::string_view iban) {
  return iban.substr(0, 2) == "FR" || iban.substr(0, 2) == "MC";
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
  if (iban.size() < 4 || iban.size() != LongueurIbanDe(iban.substr(0, 2))) return false;
  if (!Chiffre(iban[2]) || !Chiffre(iban[3])) return false;
  // 00, 01 and 99 are never computed: the remainder is 1 to 96 plus 2.
  const int cle = (iban[2] - '0') * 10 + (iban[3] - '0');
  if (cle < 2 || cle > 98) return false;
  if (!QueDes(iban.substr(4), Alphanumerique)) return false;
  std::string tourne(iban.substr(4));
  tourne += iban.substr(0, 4);
  return Modulo97(tourne) == 1;
}

RibFrancais DecouperIbanFrancais(std::string_view iban) {
  if (iban.size() != kLongueurIbanFrancais || !IbanAvecRib(iban)) return {};
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
  if (!QueDes(bic.substr(0, 4), Lettre) || !PaysIso(bic.substr(4, 2))) return false;
  if (!QueDes(bic.substr(6), Alphanumerique)) return false;
  // A branch code starting with X is reserved to "XXX", the head office.
  return bic.size() == 8 || bic[8] != 'X' || bic.substr(8) == "XXX";
}

std::optional<Refus> VerifierSaisie(const Saisie& saisie) {
  const std::string iban = NormaliserIban(saisie.iban);
  const std::string bic = NormaliserBic(saisie.bic);
  if (!iban.empty() && Blanc(saisie.titulaire)) {
    return Refus{ChampRib::Titulaire, kMsgTitulaireObligatoire};
  }
  if (!iban.empty()) {
    if (!IbanValide(iban)) return Refus{ChampRib::Iban, kMsgIbanInvalide};
    if (IbanAvecRib(iban)) {
      const RibFrancais rib = DecouperIbanFrancais(iban);
      // Bank and branch codes with letters make no French IBAN at all.
      if (!rib.Present()) return Refus{ChampRib::Iban, kMsgIbanInvalide};
      const int cle = (rib.cle[0] - '0') * 10 + (rib.cle[1] - '0');
      if (CleRib(rib.banque, rib.guichet, rib.compte) != cle) {
        return Refus{ChampRib::Iban, kMsgCleRibInvalide};
      }
    }
  }
  // The BIC's country is not the IBAN's: an overseas French account is
  // held by a bank of its own territory.
  if (!bic.empty() && !BicValide(bic)) return Refus{ChampRib::Bic, kMsgBicInvalide};
  return std::nullopt;
}

}  // namespace components::rib_detail
