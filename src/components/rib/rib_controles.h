// The checks of bank details, apart from any screen: the IBAN (ISO 13616),
// the French RIB key inside a French or Monaco IBAN, the BIC, the holder.
// Outside components, bank-details control (no Qt, no view).
//
//   Saisie s{"URSSAF NORD", "BANQUE DE FRANCE LILLE", "fr76 3000 ...", "BDFEFRPP"};
//   if (std::optional<Refus> r = VerifierSaisie(s)) { /* r->champ, r->message */ }
//
// Every check works on the texts as typed: blanks anywhere in an IBAN and
// lower-case letters are accepted and dropped or raised first. Long digit
// strings are reduced modulo 97 piece by piece, so no length overflows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace components::rib_detail {

// The IBAN as it is stored: blanks removed, ASCII letters in capitals.
// Other characters are kept, so that the checks can refuse them.
[[nodiscard]] std::string NormaliserIban(std::string_view saisie);
// The IBAN as it is shown: groups of four characters, one blank between.
[[nodiscard]] std::string GrouperIban(std::string_view iban);
// The BIC as it is stored: blanks removed, ASCII letters in capitals.
[[nodiscard]] std::string NormaliserBic(std::string_view saisie);

// Remainder modulo 97 of a run of digits and capital letters, each letter
// counting as the two digits of 10 (A) to 35 (Z). nullopt when the run holds
// anything else.
[[nodiscard]] std::optional<int> Modulo97(std::string_view chiffresEtLettres);

// A normalised IBAN of a country of the IBAN registry, of that country's
// length, with check digits 02 to 98, whose ISO 13616 check holds (the first
// four characters moved to the end, modulo 97 equal to 1).
[[nodiscard]] bool IbanValide(std::string_view iban);

// The national parts of a French or Monaco IBAN ("FR" or "MC", 27
// characters): bank and branch codes of five digits, an account of eleven
// letters or digits, a key of two digits. Empty parts when the IBAN is not
// one.
struct RibFrancais {
  std::string banque, guichet, compte, cle;
  [[nodiscard]] bool Present() const { return !banque.empty(); }
};
[[nodiscard]] RibFrancais DecouperIbanFrancais(std::string_view iban);

// The RIB key of bank, branch and account codes: 97 - ((89 bank + 15 branch
// + 3 account) mod 97), the letters of the account counted 1 to 9 (A, J = 1;
// B, K, S = 2; ... I, R, Z = 9). -1 when a code holds another character.
[[nodiscard]] int CleRib(std::string_view banque, std::string_view guichet,
                         std::string_view compte);

// A normalised BIC: four letters, an ISO 3166 country code, two letters or
// digits, and optionally a branch of three (one starting with X only as
// "XXX").
[[nodiscard]] bool BicValide(std::string_view bic);

// The fields the checks name.
enum class ChampRib { Titulaire, Domiciliation, Iban, Bic };

struct Saisie {
  std::string titulaire;
  std::string domiciliation;
  std::string iban;  // as typed
  std::string bic;   // as typed
};

struct Refus {
  ChampRib champ;
  const char* message;
};

inline constexpr const char* kMsgIbanInvalide = "L'IBAN saisi n'est pas valide.";
inline constexpr const char* kMsgCleRibInvalide = "La clé RIB de l'IBAN saisi n'est pas valide.";
inline constexpr const char* kMsgBicInvalide = "Le BIC saisi n'est pas valide.";
inline constexpr const char* kMsgTitulaireObligatoire = "Le titulaire du compte est obligatoire.";

// The first field that is not acceptable, in the order of the screen
// (holder, IBAN, BIC); nullopt when the details may be kept. Nothing typed
// at all is acceptable: a centre without bank details.
[[nodiscard]] std::optional<Refus> VerifierSaisie(const Saisie& saisie);

}  // namespace components::rib_detail
