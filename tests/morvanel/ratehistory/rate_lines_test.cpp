// The rate history's sort and shown rate texts, on plain columns.
#include "morvanel/ratehistory/rate_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "dba/citem.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::ratehistory {
namespace {

using Colonne = std::vector<std::string>;

TEST(TrierLignesParDate, KeepsTheOrderOfEqualDatesAndPutsDatelessLinesLast) {
  Colonne dates = {"", "20000", "abc", "20100", "20000", "-5", "0"};
  Colonne taux = {"a", "b", "c", "d", "e", "f", "g"};
  TrierLignesParDate(dates, taux, dates.size());
  // numeric rule: empty and "abc" count 0, a negative day sorts after them
  EXPECT_EQ(dates, (Colonne{"20100", "20000", "20000", "", "abc", "0", "-5"}));
  EXPECT_EQ(taux, (Colonne{"d", "b", "e", "a", "c", "g", "f"}));
}

TEST(TrierLignesParDate, LeavesLinesFromTheCountOnAndSortedHistoriesAlone) {
  Colonne dates = {"1", "2", "3", "99"};
  Colonne taux = {"a", "b", "c", "z"};
  TrierLignesParDate(dates, taux, 3);
  EXPECT_EQ(dates, (Colonne{"3", "2", "1", "99"}));
  EXPECT_EQ(taux, (Colonne{"c", "b", "a", "z"}));

  Colonne triees = {"3", "2"};
  Colonne tauxTries = {"x", "y"};
  EXPECT_FALSE(TrierLignesParDate(triees, tauxTries, 2));
  Colonne vide;
  EXPECT_FALSE(TrierLignesParDate(vide, vide, 0));
}

TEST(TrierLignesParDate, DoesNotLengthenAShorterColumnWithEmptyCells) {
  // GIVEN four dates but only two rates (the count taken from the dates)
  Colonne dates = {"1", "2", "3", "4"};
  Colonne taux = {"a", "b"};
  TrierLignesParDate(dates, taux, 4);
  // THEN the rates moved with their dates and no empty rate was added at the end
  EXPECT_EQ(dates, (Colonne{"4", "3", "2", "1"}));
  EXPECT_EQ(taux, (Colonne{"", "", "b", "a"}));

  Colonne d2 = {"1", "2", "3"};
  Colonne t2 = {"a"};
  TrierLignesParDate(d2, t2, 3);
  EXPECT_EQ(t2, (Colonne{"", "", "a"}));
}

// A column walked in place holds what the record's own reading gives, and
// joined again it is the attribute's text.
TEST(Cellules, ReadAnAttributeAsValuesDoesAndJoinBackToIt) {
  for (const char* texte : {"", "a", "20486",
                            "a\xFD"
                            "b",
                            "\xFD",
                            "a\xFD\xFD"
                            "b",
                            "\xFD\xFD"}) {
    dba::CItem record;
    record.setItem(20, texte);
    const std::vector<std::string> valeurs = record.Values(20);
    const std::vector<std::string_view> cellules = Cellules(texte);
    EXPECT_EQ(NombreDeValeurs(texte), valeurs.size()) << texte;
    EXPECT_EQ(std::vector<std::string>(cellules.begin(), cellules.end()), valeurs) << texte;
    EXPECT_EQ(Joindre(cellules), texte);
    Valeurs suite(texte);
    for (const std::string& v : valeurs) EXPECT_EQ(suite.Suivante(), v);
    EXPECT_EQ(suite.Suivante(), "") << "past the last value";
  }
}

// Cells seen in place sort as copied cells do.
TEST(TrierLignesParDate, SortsCellsSeenInPlaceAsCopiedOnes) {
  std::vector<std::string_view> dates = {"", "20000", "20100", "20000"};
  std::vector<std::string_view> taux = {"a", "b"};
  EXPECT_TRUE(TrierLignesParDate(dates, taux, dates.size()));
  EXPECT_EQ(dates, (std::vector<std::string_view>{"20100", "20000", "20000", ""}));
  EXPECT_EQ(taux, (std::vector<std::string_view>{"", "b", "", "a"}));
}

TEST(TexteTaux, ShowsThousandthsOfAPercentWithThreeDecimals) {
  const utilitaires::Utilitaires u;
  struct Cas {
    const char* stocke;
    const char* attendu;
  };
  for (const Cas& c :
       {Cas{"12500", "12,500"}, Cas{"290", "0,290"}, Cas{"0", "0,000"}, Cas{"7", "0,007"},
        Cas{"1000", "1,000"}, Cas{"00012", "0,012"}, Cas{"0000", "0,000"}, Cas{"012500", "12,500"},
        Cas{"123456789012345678", "123456789012345,678"}, Cas{" 12500", "12,500"},
        Cas{"-1500", "-1,500"}, Cas{"12500.5", "12,501"}, Cas{"", ""}, Cas{"abc", ""},
        Cas{"12abc", ""}}) {
    EXPECT_EQ(TexteTaux(u, c.stocke), c.attendu) << c.stocke;
  }
}

}  // namespace
}  // namespace morvanel::ratehistory
