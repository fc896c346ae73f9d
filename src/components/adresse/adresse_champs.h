// The fields of the address control: names, captions, places and limits.
// Outside components, address control (no Qt).
#pragma once

#include <array>

#include "components/adresse/adresse.h"
#include "forms/control.h"

namespace components::adresse_detail {

// How a field filters the keys typed into it.
enum class Filtre { Aucun, CodePostal, Telephone, Majuscules };

struct DefinitionChamp {
  ChampAdresse champ;
  const char* zone;       // name of the text box
  const char* etiquette;  // name of its label
  const char* libelle;    // caption of the label, also the accessible name
  forms::Rect placeEtiquette;
  forms::Rect placeZone;
  int maxLength;  // 0: no limit
  Filtre filtre;
};

// The eleven shown fields, in tab (reading) order: line by line, left to
// right; `champ` gives the attribute. They fit the
// 6135 x 2175 twips of the embedded control, seven lines of 310 twips.
const std::array<DefinitionChamp, kChampsAffiches>& Champs();

inline constexpr int kLongueurCodePostal = 5;
inline constexpr int kLongueurCodePostalEtranger = 10;

}  // namespace components::adresse_detail
