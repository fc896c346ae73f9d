// Tests of the address control as the user meets it: key rules, settings
// that show or hide fields, the layout of the fields. (Greyed, it takes no
// typing: shell_init_search.scn.)
#include <gtest/gtest.h>

#include <string>

#include "adresse_ecran.h"
#include "components/adresse/adresse_saisie.h"

namespace {

using components::ChampAdresse;
using test_adresse::Ecran;

int CaracteresDe(std::string_view utf8) {
  int n = 0;
  for (unsigned char octet : utf8) n += (octet & 0xC0) != 0x80;
  return n;
}

TEST(AdresseSaisie, KeyRulesOfEachField) {
  struct Cas {
    ChampAdresse champ;
    const char* tape;
    const char* attendu;
  };
  const Cas cas[] = {
      {ChampAdresse::CodePostal, "7a5-0 0é1", "75001"},
      {ChampAdresse::CodePostal, "750011", "75001"},  // five digits at most
      {ChampAdresse::Telephone, "+33 (1) 45.67-89x", "+33 1 45.67-89"},
      {ChampAdresse::Telecopie, "01/02", "0102"},
      {ChampAdresse::Ville, "saint-étienne cedex", "SAINT-ÉTIENNE CEDEX"},
      {ChampAdresse::Cedex, "cedex 9 az", "CEDEX 9 AZ"},
      {ChampAdresse::Pays, "çœÿ÷ß", "ÇŒŸ÷ß"},  // letters of French words only
      {ChampAdresse::Voie, "12 rue de l'Église", "12 rue de l'Église"},  // taken as typed
      {ChampAdresse::Email, "a.b@exemple.fr", "a.b@exemple.fr"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.tape);
    Ecran e;
    int changements = 0;
    e.Zone(c.champ).Change = [&changements] { ++changements; };
    e.input.Type(e.Zone(c.champ), c.tape);
    EXPECT_EQ(e.Zone(c.champ).Text(), c.attendu);
    // A refused key changes nothing: one Change per character kept.
    EXPECT_EQ(changements, CaracteresDe(c.attendu));
    EXPECT_TRUE(e.services.messages().empty());
    EXPECT_EQ(e.services.beeps(), 0);
  }
}

TEST(AdresseSaisie, BackspaceTabAndPastePassTheFilters) {
  int touche = forms::kKeyTab;
  components::adresse_detail::FiltrerTelephone(touche);
  EXPECT_EQ(touche, forms::kKeyTab);

  Ecran e;
  e.input.Type(e.Zone(ChampAdresse::CodePostal), "750");
  EXPECT_TRUE(e.input.Key(e.Zone(ChampAdresse::CodePostal), forms::kKeyBackspace));
  EXPECT_EQ(e.Zone(ChampAdresse::CodePostal).Text(), "75");
  e.Zone(ChampAdresse::CodePostal).SetText("");
  e.input.Paste(e.Zone(ChampAdresse::CodePostal), "F-69 003");  // the same rule
  EXPECT_EQ(e.Zone(ChampAdresse::CodePostal).Text(), "69003");
}

TEST(AdresseReglages, SettingsShowAndHideFieldsWithTheirLabels) {
  struct Cas {
    bool pays, contacts;
  };
  for (const Cas c : {Cas{true, true}, Cas{false, true}, Cas{true, false}, Cas{false, false}}) {
    Ecran e;
    e.adresse.Parametre3_Adresse(c.pays);
    e.adresse.Parametre4_Adresse(c.contacts);
    e.adresse.Init_Adresse();
    for (int i = 0; i < components::kChampsAffiches; ++i) {
      const auto champ = static_cast<ChampAdresse>(i);
      bool attendu = true;
      if (champ == ChampAdresse::Pays) attendu = c.pays;
      if (champ == ChampAdresse::Telephone || champ == ChampAdresse::Telecopie ||
          champ == ChampAdresse::Email) {
        attendu = c.contacts;
      }
      EXPECT_EQ(e.Zone(champ).Visible(), attendu) << i;
      EXPECT_EQ(e.adresse.Etiquette(champ).Visible(), attendu) << i;
    }
  }
}

TEST(AdresseReglages, ForeignAddressTakesAFreePostcode) {
  // GIVEN the foreign-address setting applied
  Ecran e;
  e.adresse.Parametre5_Adresse(true);
  e.adresse.Init_Adresse();
  // WHEN a British postcode is typed
  e.input.Type(e.Zone(ChampAdresse::CodePostal), "SW1A 1AA");
  // THEN it is kept whole; back in French mode letters are refused again
  EXPECT_EQ(e.Zone(ChampAdresse::CodePostal).Text(), "SW1A 1AA");
  e.adresse.Parametre5_Adresse(false);
  e.adresse.Init_Adresse();
  e.Zone(ChampAdresse::CodePostal).SetText("");
  e.input.Type(e.Zone(ChampAdresse::CodePostal), "SW1A");
  EXPECT_EQ(e.Zone(ChampAdresse::CodePostal).Text(), "1");
}

TEST(AdresseDisposition, FieldsFitTheControlInReadingOrderWithSpokenNames) {
  Ecran e;
  const forms::Control* precedent = nullptr;
  for (forms::Control* c : e.form.TabOrder()) {
    if (c->Owner() != &e.conteneur) continue;
    ASSERT_EQ(c->kind(), forms::Kind::TextBox);
    const forms::Rect& r = c->geometry;
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.left + r.width, 6135) << c->Name();
    EXPECT_LE(r.top + r.height, 2175) << c->Name();
    EXPECT_FALSE(c->AccessibleName.empty()) << c->Name();
    if (precedent != nullptr) {
      const forms::Rect& p = precedent->geometry;
      EXPECT_TRUE(r.top > p.top || (r.top == p.top && r.left > p.left))
          << precedent->Name() << " then " << c->Name();
    }
    precedent = c;
  }
  EXPECT_NE(precedent, nullptr);
  for (int i = 0; i < components::kChampsAffiches; ++i) {
    const auto champ = static_cast<ChampAdresse>(i);
    EXPECT_EQ(e.Zone(champ).AccessibleName, e.adresse.Etiquette(champ).Text());
    EXPECT_EQ(e.Zone(champ).Container(), &e.conteneur);
    EXPECT_EQ(e.form.Find("Ctr_AdresseUrssaf." + e.Zone(champ).Name()), &e.Zone(champ));
  }
  // Inner fields are not in the form's own Controls collection.
  for (int i = 0; i < e.form.Count(); ++i) EXPECT_EQ(e.form[i].Owner(), nullptr);
}

}  // namespace
