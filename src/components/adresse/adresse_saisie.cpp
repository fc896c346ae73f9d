// Key rules of the address fields. Outside components, address control.
#include "components/adresse/adresse_saisie.h"

#include "forms/control.h"

namespace components::adresse_detail {

namespace {

bool TouchePassante(int keyAscii) {
  return keyAscii == forms::kKeyBackspace || keyAscii == forms::kKeyTab;
}

bool Chiffre(int keyAscii) { return keyAscii >= '0' && keyAscii <= '9'; }

}  // namespace

void FiltrerCodePostal(int& keyAscii) {
  if (TouchePassante(keyAscii) || Chiffre(keyAscii)) return;
  keyAscii = 0;
}

void FiltrerTelephone(int& keyAscii) {
  if (TouchePassante(keyAscii) || Chiffre(keyAscii)) return;
  if (keyAscii == ' ' || keyAscii == '+' || keyAscii == '.' || keyAscii == '-') return;
  keyAscii = 0;
}

void MettreEnMajuscule(int& keyAscii) { keyAscii = Majuscule(keyAscii); }

int Majuscule(int c) {
  if (c >= 'a' && c <= 'z') return c - ('a' - 'A');
  // Latin-1 letters à..þ, except the division sign ÷ (U+00F7).
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;   // ÿ -> Ÿ
  if (c == 0x153) return 0x152;  // œ -> Œ
  return c;
}

}  // namespace components::adresse_detail
