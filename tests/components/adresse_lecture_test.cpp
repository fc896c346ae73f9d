// Tests of the address control's exchange with a record: the exact round
// trip, the user's changes landing in their attributes, emptying.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adresse_ecran.h"
#include "dba/citem.h"

namespace {

using components::ChampAdresse;
using test_adresse::Ecran;

// A record written as mvdb shows it: "^" attribute, "]" value, "\\" subvalue.
std::string Attributs(std::string texte) {
  for (char& c : texte) {
    if (c == '^') c = dba::kAttributeMark;
    if (c == ']') c = dba::kValueMark;
    if (c == '\\') c = dba::kSubvalueMark;
  }
  return texte;
}

struct Cas {
  const char* nom;
  std::string texte;
};

std::vector<Cas> Enregistrements() {
  return {
      {"complete",
       Attributs(
           "URSSAF LYON^Urssaf Rhône-Alpes^Service entreprises^Bâtiment B^6 rue du Lac^^69003^"
           "LYON^CEDEX 03^FRANCE^04 72 00 00 00^04 72 00 00 01^contact@urssaf.fr^^Mme Dupré^"
           "691^1^^^18263^69500")},
      {"voie multivaluee", Attributs("S^N^^^12 rue X]Bât C\\esc. 2^^75001^PARIS")},
      {"attributs vides au milieu", Attributs("S^N^^^^^^NANTES^^^^^^^interloc")},
      {"reserve rempli", Attributs("S^N^A^^^^^^^^^^^réservé]2")},
      {"reserve seul en fin", Attributs("S^N^^^^^^^^^^^^fin")},
      {"plus court que 14", Attributs("S^N^Service^^1 place")},
      {"sigle seul", "SIGLE"},
      {"vide", ""},
      {"blancs en fin", Attributs("S^N^  Service  ^^12 rue  ^^75001 ^Paris^ cedex")},
      {"code postal long", Attributs("S^N^^^^^SW1A 1AA^LONDON")},
      {"marques en fin", Attributs("S^N^A^^^")},
      {"au-dela de 31", Attributs("S^N^a^b^c^d^e^f^g^h^i^j^k^l^^^^^^^^^^^^^^^^^^^trente-trois")},
  };
}

// The whole record, read then written back with no change, is unchanged to
// the byte, whichever fields the settings hide.
TEST(AdresseAllerRetour, RecordUnchangedToTheByte) {
  struct Reglage {
    bool pays, contacts, etranger;
  };
  for (const Reglage r :
       {Reglage{true, true, false}, Reglage{false, false, false}, Reglage{true, false, true}}) {
    for (const Cas& c : Enregistrements()) {
      SCOPED_TRACE(std::string(c.nom) + (r.pays ? " pays" : "") + (r.contacts ? " contacts" : ""));
      Ecran e;
      e.adresse.Parametre3_Adresse(r.pays);
      e.adresse.Parametre4_Adresse(r.contacts);
      e.adresse.Parametre5_Adresse(r.etranger);
      e.adresse.Init_Adresse();
      dba::CItem record(c.texte);
      EXPECT_EQ(e.adresse.Lire_Adresse(record, 3), "");
      EXPECT_EQ(e.adresse.Ecrire_Adresse(record, 3), "");
      EXPECT_EQ(record.Item(), c.texte);
    }
  }
}

TEST(AdresseLecture, FieldsShowTheirAttributesAndMarksBecomeReadable) {
  Ecran e;
  dba::CItem record(Enregistrements()[0].texte);
  e.adresse.Lire_Adresse(record, 3);
  EXPECT_EQ(e.Zone(ChampAdresse::PointDeRemise).Text(), "Service entreprises");
  EXPECT_EQ(e.Zone(ChampAdresse::CodePostal).Text(), "69003");
  EXPECT_EQ(e.Zone(ChampAdresse::Ville).Text(), "LYON");
  EXPECT_EQ(e.Zone(ChampAdresse::Email).Text(), "contact@urssaf.fr");

  dba::CItem multi(Enregistrements()[1].texte);
  e.adresse.Lire_Adresse(multi, 3);
  EXPECT_EQ(e.Zone(ChampAdresse::Voie).Text(), "12 rue X / Bât C / esc. 2");
  // A town read in small letters is shown as stored, not put in capitals.
  dba::CItem minuscules(Attributs("S^N^^^^^^Paris"));
  e.adresse.Lire_Adresse(minuscules, 3);
  EXPECT_EQ(e.Zone(ChampAdresse::Ville).Text(), "Paris");
}

TEST(AdresseEcriture, UserChangesLandInTheirOwnAttributesOnly) {
  // GIVEN a centre shown, with a multivalued street line
  Ecran e;
  const std::string avant = Enregistrements()[1].texte;
  dba::CItem record(avant);
  e.adresse.Lire_Adresse(record, 3);
  // WHEN the user retypes the town and the telephone
  e.Zone(ChampAdresse::Ville).SetText("");
  ASSERT_TRUE(e.input.Type(e.Zone(ChampAdresse::Ville), "lyon"));
  ASSERT_TRUE(e.input.Type(e.Zone(ChampAdresse::Telephone), "04 72 00 00 00"));
  e.adresse.Ecrire_Adresse(record, 3);
  // THEN attributes 8 and 11 hold the new texts, nothing else moved
  dba::CItem attendu(avant);
  attendu.setItem(8, "LYON");
  attendu.setItem(11, "04 72 00 00 00");
  EXPECT_EQ(record.Item(), attendu.Item());
  EXPECT_EQ(record.DCount(5), 2);  // the untouched street keeps its values
  // AND once the street line is edited, it is stored as typed, one value
  e.input.Type(e.Zone(ChampAdresse::Voie), " bis");
  e.adresse.Ecrire_Adresse(record, 3);
  EXPECT_EQ(record.Item(5), "12 rue X / Bât C / esc. 2 bis");
  EXPECT_EQ(record.DCount(5), 1);
}

TEST(AdresseEcriture, AFirstAttributeOtherThan3IsHonouredBelow1Refused) {
  Ecran e;
  dba::CItem source(Attributs("x^Service^^voie"));
  e.adresse.Lire_Adresse(source, 2);
  EXPECT_EQ(e.Zone(ChampAdresse::PointDeRemise).Text(), "Service");
  EXPECT_EQ(e.Zone(ChampAdresse::Voie).Text(), "voie");
  dba::CItem cible;
  e.adresse.Ecrire_Adresse(cible, 10);
  EXPECT_EQ(cible.Item(10), "Service");
  EXPECT_EQ(cible.Item(12), "voie");
  EXPECT_EQ(cible.DCount(), 12);
  // A first attribute below 1 is reported and changes nothing.
  e.adresse.Vider_Adresse();
  dba::CItem record(Enregistrements()[0].texte);
  EXPECT_NE(e.adresse.Lire_Adresse(record, 0), "");
  EXPECT_EQ(e.Zone(ChampAdresse::Ville).Text(), "");
  EXPECT_NE(e.adresse.Ecrire_Adresse(record, -1), "");
  EXPECT_EQ(record.Item(), Enregistrements()[0].texte);
}

TEST(AdresseVider, EmptiesEveryFieldAndForgetsWhatWasRead) {
  // GIVEN an address shown from a record whose reserved attribute is filled
  Ecran e;
  dba::CItem record(Enregistrements()[0].texte);
  record.setItem(14, "réservé");
  e.adresse.Lire_Adresse(record, 3);
  // WHEN the fields are emptied
  e.adresse.Vider_Adresse();
  // THEN every box is empty, a new record gets nothing, an old one loses
  // its address but keeps the rest
  for (int i = 0; i < components::kChampsAffiches; ++i) {
    EXPECT_EQ(e.Zone(static_cast<ChampAdresse>(i)).Text(), "") << i;
  }
  dba::CItem nouveau;
  e.adresse.Ecrire_Adresse(nouveau, 3);
  EXPECT_EQ(nouveau.Item(), "");
  e.adresse.Ecrire_Adresse(record, 3);
  for (int a = 3; a <= 14; ++a) EXPECT_EQ(record.Item(a), "") << a;
  EXPECT_EQ(record.Item(1), "URSSAF LYON");
  EXPECT_EQ(record.Item(15), "Mme Dupré");
}

}  // namespace
