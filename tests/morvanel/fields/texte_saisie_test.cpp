// Character counting, slicing, padding and upper case of the entry fields.
#include "morvanel/fields/texte_saisie.h"

#include <gtest/gtest.h>

namespace morvanel::fields {
namespace {

TEST(TexteSaisie, CountsAndSlicesCharactersNotBytes) {
  EXPECT_EQ(NombreCaracteres(""), 0);
  EXPECT_EQ(NombreCaracteres("07"), 2);
  EXPECT_EQ(NombreCaracteres("é7"), 2);  // a two-byte letter is one character
  EXPECT_EQ(PremiersCaracteres("éàü125", 3), "éàü");
  EXPECT_EQ(DerniersCaracteres("125é01", 3), "é01");
  EXPECT_EQ(DerniersCaracteres("12", 3), "12");
  EXPECT_EQ(PremiersCaracteres("12", 3), "12");
}

TEST(TexteSaisie, PadsWithLeadingZerosOnlyWhenShort) {
  struct Cas { const char* texte; int longueur; const char* attendu; };
  for (const Cas& c : {Cas{"7", 2, "07"}, Cas{"", 2, "00"}, Cas{"07", 2, "07"},
                       Cas{"7", 3, "007"}, Cas{"12", 3, "012"}, Cas{"1234", 3, "1234"}}) {
    EXPECT_EQ(CompleterParZeros(c.texte, c.longueur), c.attendu) << c.texte;
  }
}

TEST(TexteSaisie, UpperCasesFrenchText) {
  struct Cas { const char* texte; const char* attendu; };
  for (const Cas& c : {Cas{"urssaf île-de-france", "URSSAF ÎLE-DE-FRANCE"},
                       Cas{"société générale", "SOCIÉTÉ GÉNÉRALE"},
                       Cas{"cœur ça où ÿ", "CŒUR ÇA OÙ Ÿ"},
                       Cas{"straße 12 ÷", "STRAßE 12 ÷"},  // no one-letter upper form
                       Cas{"DÉJÀ", "DÉJÀ"}}) {
    EXPECT_EQ(EnMajuscules(c.texte), c.attendu) << c.texte;
  }
}

TEST(TexteSaisie, KeepsBytesThatAreNotUtf8) {
  const std::string brut = std::string("ab\xE9") + "c";  // a Latin-1 é alone
  EXPECT_EQ(EnMajuscules(brut), std::string("AB\xE9") + "C");
  EXPECT_EQ(NombreCaracteres(brut), 4);
}

}  // namespace
}  // namespace morvanel::fields
