// The fields of the bank-details control: names, captions, places, limits
// and key rules. Outside components, bank-details control (no Qt).
#pragma once

#include <array>

#include "forms/control.h"

namespace components::rib_detail {

// The fields, entry fields first in tab order, then the four read-only ones
// filled from a French IBAN.
enum class Zone { Titulaire, Domiciliation, Iban, Bic, Banque, Guichet, Compte, CleRib };
inline constexpr int kZones = 8;
inline constexpr int kZonesSaisies = 4;  // Titulaire .. Bic

// How a field filters the keys typed into it.
enum class Filtre { Aucun, Iban, Bic };

struct DefinitionZone {
  Zone zone;
  const char* nom;         // name of the text box
  const char* etiquette;   // name of its label
  const char* libelle;     // caption of the label
  const char* accessible;  // what a screen reader announces
  forms::Rect placeEtiquette;
  forms::Rect placeZone;
  int maxLength;  // 0: no limit
  Filtre filtre;
};

// The eight fields, in the order of Zone. They fit the 5535 x 2055 twips of
// the embedded control.
const std::array<DefinitionZone, kZones>& Zones();

// IBAN: letters (raised to capitals), digits and blanks.
void FiltrerIban(int& keyAscii);
// BIC: letters (raised to capitals) and digits.
void FiltrerBic(int& keyAscii);

}  // namespace components::rib_detail
