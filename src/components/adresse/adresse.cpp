// Adresse: the address control's fields, its settings and the exchange of
// the address with a record. Outside components, address control (no Qt).
#include "components/adresse/adresse.h"

#include <array>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "components/adresse/adresse_champs.h"
#include "components/adresse/adresse_saisie.h"
#include "components/texte_affiche.h"
#include "dba/citem.h"
#include "forms/control.h"
#include "forms/form.h"

namespace components {

using adresse_detail::Champs;
using adresse_detail::DefinitionChamp;
using adresse_detail::Filtre;

namespace {

std::string ErreurAttribut(int premierAttribut) {
  return "Numéro d'attribut d'adresse invalide : " + std::to_string(premierAttribut) + ".";
}

}  // namespace

struct Adresse::Private {
  // One attribute of the address: its field (none for the reserved one),
  // the attribute as it was read, and the text its box held once shown.
  struct Attribut {
    forms::Control* zone = nullptr;
    forms::Control* etiquette = nullptr;
    std::string lu;
    std::string affiche;
  };

  std::array<Attribut, kAttributsAdresse> attributs;
  std::shared_ptr<dba::Database> base;
  bool parametre3 = false;
  bool parametre4 = false;
  bool parametre5 = false;
  // The postcode rule in force since Init_Adresse. Shared with the
  // postcode's key handler, which may outlive this object (the form owns
  // the fields).
  std::shared_ptr<bool> codePostalLibre = std::make_shared<bool>(false);

  Attribut& De(ChampAdresse champ) { return attributs.at(static_cast<std::size_t>(champ)); }
  void Creer(forms::Form& form, forms::Control& conteneur);
  void Montrer(ChampAdresse champ, bool visible);
};

void Adresse::Private::Creer(forms::Form& form, forms::Control& conteneur) {
  int tab = 0;
  for (const DefinitionChamp& def : Champs()) {
    Attribut& a = De(def.champ);
    a.etiquette =
        &form.Add(forms::Kind::Label, def.etiquette, def.placeEtiquette, &conteneur, &conteneur);
    a.etiquette->SetText(def.libelle);
    a.zone = &form.Add(forms::Kind::TextBox, def.zone, def.placeZone, &conteneur, &conteneur);
    a.zone->TabIndex = tab++;
    a.zone->MaxLength = def.maxLength;
    a.zone->AccessibleName = def.libelle;
    switch (def.filtre) {
      case Filtre::CodePostal:
        a.zone->KeyPress = [libre = codePostalLibre](int& key) {
          if (!*libre) adresse_detail::FiltrerCodePostal(key);
        };
        break;
      case Filtre::Telephone:
        a.zone->KeyPress = [](int& key) { adresse_detail::FiltrerTelephone(key); };
        break;
      case Filtre::Majuscules:
        a.zone->KeyPress = [](int& key) { adresse_detail::MettreEnMajuscule(key); };
        break;
      case Filtre::Aucun: break;
    }
  }
  De(ChampAdresse::CodePostal).zone->ToolTipText = "Code postal à 5 chiffres";
}

void Adresse::Private::Montrer(ChampAdresse champ, bool visible) {
  Attribut& a = De(champ);
  a.zone->SetVisible(visible);
  a.etiquette->SetVisible(visible);
}

Adresse::Adresse(forms::Form& form, forms::Control& conteneur) : d(std::make_unique<Private>()) {
  d->Creer(form, conteneur);
}

Adresse::~Adresse() = default;

void Adresse::Base_Adresse(std::shared_ptr<dba::Database> base) { d->base = std::move(base); }

void Adresse::Parametre3_Adresse(bool afficherPays) { d->parametre3 = afficherPays; }
bool Adresse::Parametre3_Adresse() const { return d->parametre3; }
void Adresse::Parametre4_Adresse(bool afficherContacts) { d->parametre4 = afficherContacts; }
bool Adresse::Parametre4_Adresse() const { return d->parametre4; }
void Adresse::Parametre5_Adresse(bool adresseEtrangere) { d->parametre5 = adresseEtrangere; }
bool Adresse::Parametre5_Adresse() const { return d->parametre5; }

void Adresse::Init_Adresse() {
  d->Montrer(ChampAdresse::Pays, d->parametre3);
  d->Montrer(ChampAdresse::Telephone, d->parametre4);
  d->Montrer(ChampAdresse::Telecopie, d->parametre4);
  d->Montrer(ChampAdresse::Email, d->parametre4);
  const bool etranger = d->parametre5;
  *d->codePostalLibre = etranger;
  forms::Control& codePostal = Zone(ChampAdresse::CodePostal);
  codePostal.MaxLength =
      etranger ? adresse_detail::kLongueurCodePostalEtranger : adresse_detail::kLongueurCodePostal;
  codePostal.ToolTipText = etranger ? "Code postal" : "Code postal à 5 chiffres";
}

std::string Adresse::Lire_Adresse(dba::CItem& record, int premierAttribut) {
  if (premierAttribut < 1) return ErreurAttribut(premierAttribut);
  for (int i = 0; i < kAttributsAdresse; ++i) {
    Private::Attribut& a = d->attributs[static_cast<std::size_t>(i)];
    a.lu = record.Item(premierAttribut + i);
    if (a.zone == nullptr) continue;  // the reserved attribute: kept, not shown
    a.zone->SetText(TexteAffiche(a.lu));
    // What the box really holds (a binding may have cut it to its length).
    a.affiche = a.zone->Text();
  }
  return {};
}

std::string Adresse::Ecrire_Adresse(dba::CItem& record, int premierAttribut) {
  if (premierAttribut < 1) return ErreurAttribut(premierAttribut);
  for (int i = 0; i < kAttributsAdresse; ++i) {
    const Private::Attribut& a = d->attributs[static_cast<std::size_t>(i)];
    // A field the user left alone gives back the attribute exactly as read;
    // the text shown may have lost its marks.
    const bool inchange = a.zone == nullptr || a.zone->Text() == a.affiche;
    record.setItem(premierAttribut + i, inchange ? std::string_view(a.lu) : a.zone->Text());
  }
  return {};
}

void Adresse::Vider_Adresse() {
  for (Private::Attribut& a : d->attributs) {
    a.lu.clear();
    a.affiche.clear();
    if (a.zone != nullptr) a.zone->SetText("");
  }
}

forms::Control& Adresse::Zone(ChampAdresse champ) const {
  forms::Control* zone = d->De(champ).zone;
  if (zone == nullptr)
    throw std::invalid_argument("Le champ réservé de l'adresse n'a pas de zone.");
  return *zone;
}

forms::Control& Adresse::Etiquette(ChampAdresse champ) const {
  forms::Control* etiquette = d->De(champ).etiquette;
  if (etiquette == nullptr) {
    throw std::invalid_argument("Le champ réservé de l'adresse n'a pas d'étiquette.");
  }
  return *etiquette;
}

}  // namespace components
