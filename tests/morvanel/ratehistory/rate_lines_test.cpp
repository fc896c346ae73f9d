// The rate history's sort and shown rate texts, on plain columns.
#include "morvanel/ratehistory/rate_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(TexteTaux, ShowsThousandthsOfAPercentWithThreeDecimals) {
  const utilitaires::Utilitaires u;
  struct Cas {
    const char* stocke;
    const char* attendu;
  };
  for (const Cas& c :
       {Cas{"12500", "12,500"}, Cas{"290", "0,290"}, Cas{"0", "0,000"}, Cas{"7", "0,007"},
        Cas{"12500.5", "12,501"}, Cas{"", ""}, Cas{"abc", ""}, Cas{"12abc", ""}}) {
    EXPECT_EQ(TexteTaux(u, c.stocke), c.attendu) << c.stocke;
  }
}

}  // namespace
}  // namespace morvanel::ratehistory
