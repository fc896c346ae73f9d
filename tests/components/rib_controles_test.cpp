// The checks of bank details without a screen: IBANs of the registry's
// countries, French and Monaco RIB keys, BICs, and which field a refusal
// names.
#include <gtest/gtest.h>

#include <string>

#include "components/rib/rib_controles.h"

namespace {

using namespace components::rib_detail;

TEST(RibControles, IbanOfSeveralCountries) {
  struct Cas {
    const char* iban;
    bool valide;
  };
  const Cas cas[] = {
      {"FR1420041010050500013M02606", true},  // a letter in the account
      {"FR7630006000011234567890189", true},
      {"DE89370400440532013000", true},
      {"GB29NWBK60161331926819", true},
      {"BE68539007547034", true},
      {"MC5811222000010123456789030", true},
      {"NO9386011117947", true},          // 15: the shortest
      {"DE02370400440532000016", true},   // the lowest check digits
      {"DE98370400440532000034", true},   // the highest
      {"DE99370400440532000016", false},  // 99, 00, 01: never computed,
      {"DE00370400440532000052", false},  // though the ISO check holds
      {"DE01370400440532000034", false},
      {"DE543704004405320130001", false},      // 23, check digits right
      {"NO631111111111", false},               // 14, check digits right
      {"XA9630001000640001234567801", false},  // no such country, check right
      {"FR14200410100505000013M0260", false},  // French with 26 characters
      {"DE88370400440532013000", false},       // check digits wrong
      {"GB29NWBK60161331926818", false},       // last digit wrong
      {"D189370400440532013000", false},       // country not two letters
      {"DEA9370400440532013000", false},       // check digits not digits
      {"DE89-70400440532013000", false},
      {"", false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.iban);
    EXPECT_EQ(IbanValide(c.iban), c.valide);
  }
}

TEST(RibControles, RibKeyCountsTheLettersOfTheAccount) {
  struct Cas {
    const char *banque, *guichet, *compte;
    int cle;
  };
  const Cas cas[] = {
      {"12345", "12345", "1234567891A", 16},
      {"20041", "01005", "0500013M026", 6},
      {"30006", "00001", "12345678901", 89},
      {"30001", "00064", "000STUVWXYZ", 69},  // S..Z count 2..9
      {"99999", "99999", "ZZZZZZZZZZZ", 97 - (89 * 99999 + 15 * 99999 + 3 * 99999999999LL) % 97},
      {"3A001", "00064", "00012345678", -1},  // letters only in the account
      {"30001", "00064", "0001234567-", -1},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.compte);
    EXPECT_EQ(CleRib(c.banque, c.guichet, c.compte), c.cle);
  }
}

TEST(RibControles, BicOfEightOrElevenCharacters) {
  for (const char* bic : {"BDFEFRPP", "BNPAFRPPXXX", "DEUTDEFF500", "NWBKGB2L", "BFCORERXXXX",
                          "BDFEGPGP", "CEPAMQM1", "BNPANCNX"}) {
    EXPECT_TRUE(BicValide(bic)) << bic;
  }
  for (const char* bic : {"BDFEFRP", "BDFEFRPPX", "BDFEFRPPXX", "BD1EFRPP", "BDFEF1PP", "BDFEFRP-",
                          "BNPAFRPPXXXX", "BDFEXXPP", "BNPAFRPPXAB", "BNPAFRPPXX1", ""}) {
    EXPECT_FALSE(BicValide(bic)) << bic;
  }
}

TEST(RibControles, TheFirstFieldRefusedInScreenOrder) {
  const std::string ibanFr = "fr14 2004 1010 0505 0001 3m02 606";  // as a user may type it
  struct Cas {
    const char* quoi;
    Saisie saisie;
    std::optional<ChampRib> champ;
    const char* message;
  };
  const Cas cas[] = {
      {"nothing typed", {"", "", "", ""}, std::nullopt, nullptr},
      {"only the bank", {"", "CIC LYON", "", ""}, std::nullopt, nullptr},
      {"a BIC without IBAN", {"", "", "", "bdfefrpp"}, std::nullopt, nullptr},
      {"French IBAN typed loosely", {"URSSAF", "", ibanFr, "BDFEFRPP"}, std::nullopt, nullptr},
      {"German IBAN and BIC",
       {"URSSAF", "", "DE89370400440532013000", "DEUTDEFF500"},
       std::nullopt,
       nullptr},
      {"IBAN without holder",
       {"  ", "", ibanFr, ""},
       ChampRib::Titulaire,
       kMsgTitulaireObligatoire},
      {"holder before a wrong IBAN",
       {"", "", "FR00", ""},
       ChampRib::Titulaire,
       kMsgTitulaireObligatoire},
      {"check digits wrong",
       {"X", "", "DE88370400440532013000", ""},
       ChampRib::Iban,
       kMsgIbanInvalide},
      {"RIB key wrong, ISO check right",
       {"X", "", "FR4930001000640001234567832", ""},
       ChampRib::Iban,
       kMsgCleRibInvalide},
      {"letter in a French bank code",
       {"X", "", "FR283A001000640001234567801", ""},
       ChampRib::Iban,
       kMsgIbanInvalide},
      {"Monaco RIB key wrong, ISO check right",
       {"X", "", "MC3111222000010123456789031", ""},
       ChampRib::Iban,
       kMsgCleRibInvalide},
      {"French IBAN, BIC of Reunion", {"X", "", ibanFr, "BFCORERX"}, std::nullopt, nullptr},
      {"BIC of nine characters", {"", "", "", "BDFEFRPPX"}, ChampRib::Bic, kMsgBicInvalide},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.quoi);
    const std::optional<Refus> refus = VerifierSaisie(c.saisie);
    ASSERT_EQ(refus.has_value(), c.champ.has_value());
    if (!refus) continue;
    EXPECT_EQ(refus->champ, *c.champ);
    EXPECT_STREQ(refus->message, c.message);
  }
}

}  // namespace
