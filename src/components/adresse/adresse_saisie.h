// Key rules of the address fields: which keys a field takes, and capitals
// as the town is typed. Outside components, address control (no Qt).
// Each rule takes the key code by reference and sets it to 0 to refuse the
// key, as the fields' KeyPress handlers do; Backspace and Tab always pass.
#pragma once

namespace components::adresse_detail {

// Postcode of a French address: digits only.
void FiltrerCodePostal(int& keyAscii);
// Telephone and fax numbers: digits, blank, "+", ".", "-".
void FiltrerTelephone(int& keyAscii);
// Any key; a lower-case letter (accented ones included) becomes its capital.
void MettreEnMajuscule(int& keyAscii);

// The capital of a Unicode code point for the Latin letters a French
// address uses; other code points are returned unchanged.
[[nodiscard]] int Majuscule(int codePoint);

}  // namespace components::adresse_detail
