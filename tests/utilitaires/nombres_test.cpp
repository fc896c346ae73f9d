// Numbers: their writing with a decimal comma and decimal rounding, the
// scaled stored numbers and the leading number of a stored text.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "utilitaires/utilitaires.h"

namespace {

using utilitaires::DepuisStocke;
using utilitaires::Utilitaires;
using utilitaires::ValeurNumerique;
using utilitaires::VersStocke;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

TEST(FormaterNombre, WritesDecimalCommaAndRoundsHalfAwayFromZeroInDecimal) {
  const struct {
    const char* nombre;
    int decimales;
    const char* ecrit;
  } cas[] = {
      {"12.5", 2, "12,50"},
      {"12,5", 2, "12,50"},
      {"12", 2, "12,00"},
      {"-3", 2, "-3,00"},
      {" 12,5 ", 2, "12,50"},
      {"+3", 2, "3,00"},
      {"0,125", 2, "0,13"},
      {"0,124", 2, "0,12"},
      {"-0,125", 2, "-0,13"},
      {"-0,001", 2, "0,00"},
      {"9,995", 2, "10,00"},
      {"99,9996", 3, "100,000"},
      {"2,675", 2, "2,68"},
      {"1,005", 2, "1,01"},
      {"0.29", 3, "0,290"},
      {"12,3456", 3, "12,346"},
      {"007,5", 2, "7,50"},
      {",5", 2, "0,50"},
      {"12,", 2, "12,00"},
      {"0", 3, "0,000"},
      {"12,5", 0, "13"},
      {"12,4", 0, "12"},
      {"0,5", 0, "1"},
      {"1250", 2, "1250,00"},
      {"123456789012345678901234567890,5", 0, "123456789012345678901234567891"},
  };
  const Utilitaires u;
  for (const auto& c : cas) {
    EXPECT_EQ(u.Formater_Nombre(c.nombre, 2, c.decimales, 0), c.ecrit)
        << c.nombre << " / " << c.decimales;
  }
  // What the user typed is rewritten by the same rule.
  EXPECT_EQ(u.Formater_NombreControle("12,", 2, 2), "12,00");
  EXPECT_EQ(u.Formater_NombreControle("5,12345", 2, 3), "5,123");
}

TEST(FormaterNombre, TextsThatAreNotNumbersGiveEmptyText) {
  const char* cas[] = {"",      " ",     ",",   ".",    "-",     "1 000", "1e3", "12abc",
                       "1,2,3", "1.2.3", "--1", "0x10", "12,5%", "1,5-",  "- 1"};
  const Utilitaires u;
  for (const char* t : cas) {
    EXPECT_EQ(u.Formater_Nombre(t, 2, 2, 0), "") << t;
    EXPECT_EQ(u.Formater_NombreControle(t, 2, 3), "") << t;
  }
}

TEST(VersStocke, ScalesOnDecimalDigitsAndRoundsHalfAwayFromZero) {
  const struct {
    const char* texte;
    int puissance;
    std::int64_t stocke;
  } cas[] = {
      {"0,29", 2, 29},  {"0.29", 2, 29},    {"12,345", 3, 12345}, {"12,5", 2, 1250},
      {"0,125", 2, 13}, {"-0,125", 2, -13}, {"1,005", 2, 101},    {"12", 3, 12000},
      {"0,0005", 3, 1}, {"0,0004", 3, 0},   {"-1", 2, -100},      {"1,1", 0, 1},
      {"4,35", 2, 435}, {"1,15", 2, 115},   {" 8,2 ", 3, 8200},   {"9223372036854775807", 0, kMax},
  };
  for (const auto& c : cas) {
    EXPECT_EQ(VersStocke(c.texte, c.puissance), c.stocke) << c.texte << " / " << c.puissance;
  }
}

TEST(VersStocke, RefusesNonNumbersAndWhatDoesNotFit) {
  const std::string mille_chiffres(1000, '9');
  const struct {
    std::string texte;
    int puissance;
  } cas[] = {
      {"", 2},
      {"abc", 2},
      {"1e3", 2},
      {",", 2},
      {"12,5", -1},
      {"12,5", 19},
      {"9223372036854775808", 0},
      {"92233720368547759", 2},
      {"9223372036854775807,5", 0},
      {mille_chiffres, 2},
  };
  for (const auto& c : cas) {
    EXPECT_EQ(VersStocke(c.texte, c.puissance), std::nullopt) << c.texte << " / " << c.puissance;
  }
}

TEST(DepuisStocke, DividesWithAPointAndNoTrailingZeros) {
  const struct {
    const char* stocke;
    int puissance;
    const char* texte;
  } cas[] = {
      {"1250", 2, "12.5"}, {"1200", 2, "12"}, {"5", 2, "0.05"},       {"-5", 2, "-0.05"},
      {"0", 2, "0"},       {"-0", 3, "0"},    {"12345", 3, "12.345"}, {"29", 2, "0.29"},
      {"0029", 2, "0.29"}, {"7", 0, "7"},     {"50", 3, "0.05"},      {"100000", 3, "100"},
  };
  for (const auto& c : cas) {
    EXPECT_EQ(DepuisStocke(c.stocke, c.puissance), c.texte) << c.stocke << " / " << c.puissance;
  }
  for (const char* t : {"", "12.5", "abc", "1e3", "-", "12 5", "1,0"}) {
    EXPECT_EQ(DepuisStocke(t, 2), std::nullopt) << t;
  }
  EXPECT_EQ(DepuisStocke("1250", -1), std::nullopt);
}

TEST(StoredNumbers, EveryAmountAndRateComesBackFromTheScreenUnchanged) {
  // stored -> shown (as the control fills its boxes) -> stored again
  const Utilitaires u;
  for (std::int64_t n = 0; n <= 100000; ++n) {
    const std::string s = std::to_string(n);
    const auto montant = DepuisStocke(s, 2);
    ASSERT_TRUE(montant.has_value()) << n;
    ASSERT_EQ(VersStocke(u.Formater_Nombre(*montant, 2, 2, 0), 2), n) << n;
    const auto taux = DepuisStocke(s, 3);
    ASSERT_TRUE(taux.has_value()) << n;
    ASSERT_EQ(VersStocke(u.Formater_Nombre(*taux, 2, 3, 0), 3), n) << n;
  }
}

TEST(ValeurNumerique, ReadsTheLeadingWholeNumber) {
  const struct {
    const char* texte;
    std::int64_t valeur;
  } cas[] = {
      {"20486", 20486},
      {"-1", -1},
      {"12abc", 12},
      {"", 0},
      {"abc", 0},
      {" 7", 7},
      {"12.9", 12},
      {"99999999999999999999999", kMax},
      {"-99999999999999999999", -kMax},
  };
  for (const auto& c : cas) EXPECT_EQ(ValeurNumerique(c.texte), c.valeur) << c.texte;
}

}  // namespace
