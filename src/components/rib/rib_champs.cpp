// The fields of the bank-details control. Outside components, bank-details
// control (no Qt).
#include "components/rib/rib_champs.h"

namespace components::rib_detail {
namespace {

constexpr int kHauteur = 285;   // a text box
constexpr int kHautEtq = 255;   // a label beside its box, 30 twips lower
constexpr int kColonne = 1320;  // where the boxes start
constexpr int kLargeur = 4215;  // the long boxes, up to the control's right edge
constexpr int kLigne = 360;
constexpr int kHautRib = 1500;  // the labels over the RIB's four boxes
constexpr int kBasRib = 1710;   // the RIB's four boxes

constexpr forms::Rect Etq(int ligne) { return {0, 60 + ligne * kLigne + 30, 1215, kHautEtq}; }
constexpr forms::Rect Txt(int ligne, int width) {
  return {kColonne, 60 + ligne * kLigne, width, kHauteur};
}
constexpr forms::Rect EtqRib(int left, int width) { return {left, kHautRib, width, 195}; }
constexpr forms::Rect TxtRib(int left, int width) { return {left, kBasRib, width, kHauteur}; }

bool TouchePassante(int k) { return k == forms::kKeyBackspace || k == forms::kKeyTab; }

// A letter raised to its capital, a digit kept; anything else refused.
void LettreOuChiffre(int& k) {
  if (k >= 'a' && k <= 'z') k -= 'a' - 'A';
  if ((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9')) return;
  k = 0;
}

}  // namespace

const std::array<DefinitionZone, kZones>& Zones() {
  static const std::array<DefinitionZone, kZones> zones = {{
      {Zone::Titulaire, "Txt_Titulaire", "Etq_Titulaire", "Titulaire", "Titulaire du compte",
       Etq(0), Txt(0, kLargeur), 70, Filtre::Aucun},
      {Zone::Domiciliation, "Txt_Domiciliation", "Etq_Domiciliation", "Domiciliation",
       "Domiciliation", Etq(1), Txt(1, kLargeur), 70, Filtre::Aucun},
      // 34 characters and the blanks between groups of four.
      {Zone::Iban, "Txt_Iban", "Etq_Iban", "IBAN", "IBAN", Etq(2), Txt(2, kLargeur), 42,
       Filtre::Iban},
      {Zone::Bic, "Txt_Bic", "Etq_Bic", "BIC", "BIC", Etq(3), Txt(3, 1335), 11, Filtre::Bic},
      {Zone::Banque, "Txt_Banque", "Etq_Banque", "Banque", "Code banque", EtqRib(kColonne, 735),
       TxtRib(kColonne, 735), 5, Filtre::Aucun},
      {Zone::Guichet, "Txt_Guichet", "Etq_Guichet", "Guichet", "Code guichet", EtqRib(2160, 735),
       TxtRib(2160, 735), 5, Filtre::Aucun},
      {Zone::Compte, "Txt_Compte", "Etq_Compte", "N° de compte", "Numéro de compte",
       EtqRib(3000, 1695), TxtRib(3000, 1695), 11, Filtre::Aucun},
      {Zone::CleRib, "Txt_CleRib", "Etq_CleRib", "Clé", "Clé RIB", EtqRib(4800, 495),
       TxtRib(4800, 495), 2, Filtre::Aucun},
  }};
  return zones;
}

void FiltrerIban(int& keyAscii) {
  if (TouchePassante(keyAscii) || keyAscii == ' ') return;
  LettreOuChiffre(keyAscii);
}

void FiltrerBic(int& keyAscii) {
  if (TouchePassante(keyAscii)) return;
  LettreOuChiffre(keyAscii);
}

}  // namespace components::rib_detail
