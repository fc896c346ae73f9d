// RIB: the bank-details control's fields, its checks on screen and the
// exchange of the details with a record. Outside components, bank-details
// control (no Qt).
#include "components/rib/rib.h"

#include <array>
#include <utility>

#include "components/rib/rib_champs.h"
#include "components/rib/rib_controles.h"
#include "components/texte_affiche.h"
#include "dba/citem.h"
#include "forms/control.h"
#include "forms/form.h"
#include "forms/services.h"

namespace components {

using rib_detail::DefinitionZone;
using rib_detail::Zone;

namespace {

constexpr const char* kTitre = "Message TARVELINE";

// Attributes from the first one given to Lire/Ecrire.
enum Decalage { kTitulaire = 0, kDomiciliation, kIban, kBic, kBanqueGuichet, kCle };

std::string ErreurAttribut(int premierAttribut) {
  return "Numéro d'attribut de RIB invalide : " + std::to_string(premierAttribut) + ".";
}

}  // namespace

struct RIB::Private {
  explicit Private(forms::Services& s) : services(s) {}

  forms::Services& services;
  std::array<forms::Control*, rib_detail::kZones> zones{};
  // The six attributes as read, and the text each entry box held once shown.
  std::array<std::string, kAttributsRib> lu;
  std::array<std::string, rib_detail::kZonesSaisies> affiche;
  std::shared_ptr<dba::Database> base;
  std::shared_ptr<Client> client;
  bool invalide = false;

  forms::Control& De(Zone zone) const { return *zones.at(static_cast<std::size_t>(zone)); }
  void Creer(forms::Form& form, forms::Control& conteneur);
  void Montrer_Rib();
};

void RIB::Private::Creer(forms::Form& form, forms::Control& conteneur) {
  int tab = 0;
  for (const DefinitionZone& def : rib_detail::Zones()) {
    forms::Control& etiquette =
        form.Add(forms::Kind::Label, def.etiquette, def.placeEtiquette, &conteneur, &conteneur);
    etiquette.SetText(def.libelle);
    forms::Control& zone =
        form.Add(forms::Kind::TextBox, def.nom, def.placeZone, &conteneur, &conteneur);
    zone.TabIndex = tab++;
    zone.MaxLength = def.maxLength;
    zone.AccessibleName = def.accessible;
    zones.at(static_cast<std::size_t>(def.zone)) = &zone;
    switch (def.filtre) {
      case rib_detail::Filtre::Iban:
        zone.KeyPress = [](int& key) { rib_detail::FiltrerIban(key); };
        break;
      case rib_detail::Filtre::Bic:
        zone.KeyPress = [](int& key) { rib_detail::FiltrerBic(key); };
        break;
      case rib_detail::Filtre::Aucun: break;
    }
  }
  // The RIB is read from the IBAN, never typed: two sources could disagree.
  // Shown as text all the same, which a clerk may copy.
  for (Zone z : {Zone::Banque, Zone::Guichet, Zone::Compte, Zone::CleRib}) {
    De(z).SetReadOnly(true);
    De(z).TabIndex = -1;
  }

  forms::Control& iban = De(Zone::Iban);
  iban.ToolTipText = "IBAN, avec ou sans espaces";
  iban.Change = [this] { Montrer_Rib(); };
  // Regrouped only once left: regrouping as the user types would move the
  // cursor under the user's fingers.
  iban.LostFocus = [this] {
    forms::Control& z = De(Zone::Iban);
    z.SetText(rib_detail::GrouperIban(rib_detail::NormaliserIban(z.Text())));
  };
}

void RIB::Private::Montrer_Rib() {
  const rib_detail::RibFrancais rib =
      rib_detail::DecouperIbanFrancais(rib_detail::NormaliserIban(De(Zone::Iban).Text()));
  De(Zone::Banque).SetText(rib.banque);
  De(Zone::Guichet).SetText(rib.guichet);
  De(Zone::Compte).SetText(rib.compte);
  De(Zone::CleRib).SetText(rib.cle);
}

RIB::RIB(forms::Form& form, forms::Control& conteneur, forms::Services& services)
    : d(std::make_unique<Private>(services)) {
  d->Creer(form, conteneur);
}

RIB::~RIB() {
  // The form keeps the fields after this object: no handler may call back.
  forms::Control& iban = d->De(Zone::Iban);
  iban.Change = nullptr;
  iban.LostFocus = nullptr;
}

void RIB::LectureSeule_RIB(bool lectureSeule) {
  for (int i = 0; i < rib_detail::kZonesSaisies; ++i) {
    d->De(static_cast<Zone>(i)).SetReadOnly(lectureSeule);
  }
}

void RIB::Base_RIB(std::shared_ptr<dba::Database> base) { d->base = std::move(base); }

void RIB::Client_RIB(std::shared_ptr<Client> client) { d->client = std::move(client); }

std::string RIB::Lire_RIB(dba::CItem& record, int premierAttribut) {
  if (premierAttribut < 1) return ErreurAttribut(premierAttribut);
  for (int i = 0; i < kAttributsRib; ++i) d->lu.at(i) = record.Item(premierAttribut + i);
  d->invalide = false;
  for (int i = 0; i < rib_detail::kZonesSaisies; ++i) {
    forms::Control& zone = d->De(static_cast<Zone>(i));
    std::string texte = TexteAffiche(d->lu.at(i));
    if (i == kIban) texte = rib_detail::GrouperIban(rib_detail::NormaliserIban(texte));
    zone.SetText(texte);
    // What the box really holds (a binding may have cut it to its length).
    d->affiche.at(i) = zone.Text();
  }
  d->Montrer_Rib();  // also when the IBAN box held this text already
  return {};
}

void RIB::Verifier_RIB() {
  const rib_detail::Saisie saisie{d->De(Zone::Titulaire).Text(), d->De(Zone::Domiciliation).Text(),
                                  d->De(Zone::Iban).Text(), d->De(Zone::Bic).Text()};
  const std::optional<rib_detail::Refus> refus = rib_detail::VerifierSaisie(saisie);
  d->invalide = refus.has_value();
  if (!refus) return;
  d->services.MsgBox(refus->message, forms::MsgButtons::OK, forms::MsgIcon::Exclamation, kTitre);
  switch (refus->champ) {
    case rib_detail::ChampRib::Titulaire: d->De(Zone::Titulaire).SetFocus(); break;
    case rib_detail::ChampRib::Domiciliation: d->De(Zone::Domiciliation).SetFocus(); break;
    case rib_detail::ChampRib::Iban: d->De(Zone::Iban).SetFocus(); break;
    case rib_detail::ChampRib::Bic: d->De(Zone::Bic).SetFocus(); break;
  }
}

bool RIB::RIB_Invalide() const { return d->invalide; }

bool RIB::RIB_Modifie() const {
  for (int i = 0; i < rib_detail::kZonesSaisies; ++i) {
    if (d->De(static_cast<Zone>(i)).Text() != d->affiche.at(i)) return true;
  }
  return false;
}

std::string RIB::Ecrire_RIB(dba::CItem& record, int premierAttribut) {
  if (premierAttribut < 1) return ErreurAttribut(premierAttribut);
  std::array<std::string, kAttributsRib> valeurs = d->lu;
  for (int i : {kTitulaire, kDomiciliation}) {
    const std::string& texte = d->De(static_cast<Zone>(i)).Text();
    // A field the user left alone gives back the attribute exactly as read.
    if (texte != d->affiche.at(i)) valeurs.at(i) = texte;
  }
  // The IBAN, the BIC and the RIB are always handed over in their stored
  // form, so that what was stored loosely or by hand comes out right.
  valeurs[kIban] = rib_detail::NormaliserIban(d->De(Zone::Iban).Text());
  valeurs[kBic] = rib_detail::NormaliserBic(d->De(Zone::Bic).Text());
  const rib_detail::RibFrancais rib = rib_detail::DecouperIbanFrancais(valeurs[kIban]);
  valeurs[kBanqueGuichet] = rib.banque + rib.guichet;
  valeurs[kCle] = rib.cle;
  for (int i = 0; i < kAttributsRib; ++i) record.setItem(premierAttribut + i, valeurs.at(i));
  return {};
}

}  // namespace components
