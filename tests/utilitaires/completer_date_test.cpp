// Completion of typed dates: the forms clerks type, the two-digit-year
// window, the current year, and the texts left as typed.
#include <gtest/gtest.h>

#include "utilitaires/utilitaires.h"

namespace {

using utilitaires::DateCivile;
using utilitaires::Utilitaires;

TEST(CompleterDate, TypedFormsBecomeTheShownForm) {
  const struct {
    const char* saisie;
    const char* complete;
  } cas[] = {
      {"1/2/24", "01/02/2024"},     {"010224", "01/02/2024"},     {"01022024", "01/02/2024"},
      {"1/2", "01/02/2024"},        {"1/2/", "01/02/2024"},       {"0102", "01/02/2024"},
      {"01/02/2024", "01/02/2024"}, {"1/2/2024", "01/02/2024"},   {" 1/2/24 ", "01/02/2024"},
      {"1.2.24", "01/02/2024"},     {"1-2-24", "01/02/2024"},     {"31/12/49", "31/12/2049"},
      {"01/01/50", "01/01/1950"},   {"15/3/99", "15/03/1999"},    {"7/7/00", "07/07/2000"},
      {"300667", "30/06/1967"},     {"12/11/1998", "12/11/1998"},
  };
  const Utilitaires u(DateCivile{2024, 6, 15});
  for (const auto& c : cas) {
    const std::string complete = u.Completer_Date(c.saisie, 0);
    EXPECT_EQ(complete, c.complete) << c.saisie;
    EXPECT_NE(u.Convertir_DateStockage(complete), "") << c.saisie;
  }
}

TEST(CompleterDate, DateWithoutYearTakesTheYearOfToday) {
  EXPECT_EQ(Utilitaires(DateCivile{2031, 1, 1}).Completer_Date("29/2"), "29/02/2031");
  EXPECT_EQ(Utilitaires(DateCivile{1999, 12, 31}).Completer_Date("0503"), "05/03/1999");
}

TEST(CompleterDate, OnlyTheShapeIsCompletedAndTheCalendarCheckStaysWithStorage) {
  const Utilitaires u(DateCivile{2024, 6, 15});
  const std::string complete = u.Completer_Date("31/02/24");
  EXPECT_EQ(complete, "31/02/2024");
  EXPECT_EQ(u.Convertir_DateStockage(complete), "");
}

TEST(CompleterDate, TextsItCannotCompleteAreReturnedAsTyped) {
  const char* cas[] = {
      "",          "abc",      "1",       "12",        "123",      "12345",    "1234567",
      "123456789", "1/2/3",    "1/2/123", "1/2/12345", "123/2/24", "1/234/24", "/2/24",
      "1//24",     "1/2/24/5", "1/a/24",  "1/2/2a",    "1",        "/",        " ",
  };
  const Utilitaires u(DateCivile{2024, 6, 15});
  for (const char* t : cas) {
    EXPECT_EQ(u.Completer_Date(t), t) << t;
    EXPECT_EQ(u.Convertir_DateStockage(u.Completer_Date(t)), "") << t;
  }
}

}  // namespace
