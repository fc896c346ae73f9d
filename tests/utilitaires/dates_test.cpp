// Shown <-> stored dates: every day of the years handled, known day numbers,
// and the texts that are not dates.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "utilitaires/utilitaires.h"

namespace {

using utilitaires::Utilitaires;

std::string Texte(int jour, int mois, int annee) {
  char t[40];  // room for any int, so the compiler sees no truncation
  std::snprintf(t, sizeof t, "%02d/%02d/%04d", jour, mois, annee);
  return t;
}

TEST(Dates, EveryDayIsStoredOneAfterTheDayBeforeAndShownBackAsTyped) {
  const Utilitaires u;
  long precedent = 0;
  bool premier = true;
  int jours_du_mois[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int annee = 1900; annee <= 2099; ++annee) {
    const bool bissextile = annee % 4 == 0 && annee != 1900;  // 2000 is, 1900 is not
    jours_du_mois[1] = bissextile ? 29 : 28;
    for (int mois = 1; mois <= 12; ++mois) {
      for (int jour = 1; jour <= jours_du_mois[mois - 1]; ++jour) {
        const std::string affiche = Texte(jour, mois, annee);
        const std::string stocke = u.Convertir_DateStockage(affiche);
        ASSERT_FALSE(stocke.empty()) << affiche;
        const long numero = std::stol(stocke);
        if (!premier) {
          ASSERT_EQ(numero, precedent + 1) << affiche;
        }
        ASSERT_EQ(u.Convertir_DateAffichage(stocke), affiche) << stocke;
        precedent = numero;
        premier = false;
      }
    }
  }
  EXPECT_EQ(precedent, 48213);  // 31/12/2099
}

TEST(Dates, KnownDayNumbers) {
  const struct {
    const char* affiche;
    const char* stocke;
  } cas[] = {
      {"31/12/1967", "0"},      {"30/12/1967", "-1"},    {"01/01/1968", "1"},
      {"01/02/2024", "20486"},  {"29/02/2000", "11748"}, {"08/05/1945", "-8272"},
      {"01/01/1900", "-24835"}, {"31/12/2099", "48213"},
  };
  const Utilitaires u;
  for (const auto& c : cas) {
    EXPECT_EQ(u.Convertir_DateStockage(c.affiche), c.stocke) << c.affiche;
    EXPECT_EQ(u.Convertir_DateAffichage(c.stocke), c.affiche) << c.stocke;
  }
  // A short day or month is taken when the year has its four digits.
  for (const char* t : {"1/2/2024", "01/2/2024", "1/02/2024"}) {
    EXPECT_EQ(u.Convertir_DateStockage(t), "20486") << t;
  }
}

TEST(Dates, TextsThatAreNotRealDatesAreNotStored) {
  const char* cas[] = {
      "31/02/2024",  "29/02/2023",  "29/02/1900",  "31/04/2024",  "00/01/2024",
      "32/01/2024",  "01/13/2024",  "01/00/2024",  "ab/cd/efgh",  "",
      "01/02/24",    "1/2",         "01022024",    "01/02/2024x", " 01/02/2024",
      "01/02/2024 ", "01/02/20245", "001/02/2024", "01-02-2024",  "01.02.2024",
      "01/02/202",   "31/12/1899",  "01/01/2100",  "-1/02/2024",
  };
  const Utilitaires u;
  for (const char* t : cas) EXPECT_EQ(u.Convertir_DateStockage(t), "") << t;
}

TEST(Dates, TextsThatAreNotStoredDatesAreNotShown) {
  const char* cas[] = {
      "",   "abc", "12a", "-",      "1.5",   " 1",
      "1 ", "+1",  "--1", "-24836", "48214", "99999999999999999999999",
  };
  const Utilitaires u;
  for (const char* t : cas) EXPECT_EQ(u.Convertir_DateAffichage(t), "") << t;
}

}  // namespace
