// Character counting, slicing, padding and upper case of the entry fields.
#include "morvanel/fields/texte_saisie.h"

#include <gtest/gtest.h>

namespace morvanel::fields {
namespace {

TEST(TexteSaisie, CountsAndSlicesCharactersNotBytes) {
  EXPECT_EQ(CharacterCount(""), 0);
  EXPECT_EQ(CharacterCount("07"), 2);
  EXPECT_EQ(CharacterCount("é7"), 2);  // a two-byte letter is one character
  EXPECT_EQ(FirstCharacters("éàü125", 3), "éàü");
  EXPECT_EQ(LastCharacters("125é01", 3), "é01");
  EXPECT_EQ(LastCharacters("12", 3), "12");
  EXPECT_EQ(FirstCharacters("12", 3), "12");
  EXPECT_EQ(CharacterCount(std::string("ab\xE9") + "c"), 4);  // a stray Latin-1 byte
}

TEST(TexteSaisie, UpperCasesFrenchText) {
  struct Cas {
    const char* texte;
    const char* attendu;
  };
  for (const Cas& c :
       {Cas{"urssaf île-de-france", "URSSAF ÎLE-DE-FRANCE"},
        Cas{"société générale", "SOCIÉTÉ GÉNÉRALE"}, Cas{"cœur ça où ÿ", "CŒUR ÇA OÙ Ÿ"},
        Cas{"straße 12 ÷", "STRAßE 12 ÷"},  // no one-letter upper form
        Cas{"DÉJÀ", "DÉJÀ"},
        Cas{"a\xE9"
            "b",
            "A\xE9"
            "B"}}) {
    EXPECT_EQ(Uppercase(c.texte), c.attendu) << c.texte;
  }
}

}  // namespace
}  // namespace morvanel::fields
