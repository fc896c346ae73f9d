// The key a new centre gets from the counter, and the keys passed over.
#include "morvanel/workflow/key_allocation.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace morvanel::workflow {
namespace {

struct CasCle {
  const char* compteur;
  std::set<std::string> prises;  // keys some centre already has
  const char* cle;               // "" when refused
  const char* refus;             // nullptr when a key is handed out
};

class ProchaineCleTest : public ::testing::TestWithParam<CasCle> {};

TEST_P(ProchaineCleTest, HandsOutTheFirstFreeKeyAboveTheCounter) {
  const CasCle& c = GetParam();
  int demandes = 0;
  const Allocation a = ProchaineCle(c.compteur, [&](const std::string& cle) {
    ++demandes;
    return c.prises.count(cle) > 0;
  });
  EXPECT_EQ(a.cle, c.cle);
  if (c.refus == nullptr) {
    EXPECT_EQ(a.refus, nullptr) << a.refus;
  } else {
    ASSERT_NE(a.refus, nullptr);
    EXPECT_STREQ(a.refus, c.refus);
  }
  if (c.refus == kMsgCompteurIllisible) {
    EXPECT_EQ(demandes, 0) << "no centre looked at";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Compteurs, ProchaineCleTest,
    ::testing::Values(
        CasCle{"", {}, "01", nullptr}, CasCle{"   ", {}, "01", nullptr},
        CasCle{"00", {}, "01", nullptr}, CasCle{"09", {}, "10", nullptr},
        CasCle{"7", {}, "08", nullptr}, CasCle{" 12 ", {}, "13", nullptr},
        CasCle{"98", {}, "99", nullptr},
        // An import left the counter behind: the keys in use are passed over.
        CasCle{"03", {"04", "05"}, "06", nullptr}, CasCle{"97", {"98", "99"}, "", kMsgPlusDeCle},
        CasCle{"99", {}, "", kMsgPlusDeCle}, CasCle{"150", {}, "", kMsgPlusDeCle},
        CasCle{"99999999999999999999", {}, "", kMsgPlusDeCle},
        CasCle{"abc", {}, "", kMsgCompteurIllisible}, CasCle{"7x", {}, "", kMsgCompteurIllisible},
        CasCle{"-3", {}, "", kMsgCompteurIllisible}, CasCle{"+3", {}, "", kMsgCompteurIllisible},
        CasCle{"1 2", {}, "", kMsgCompteurIllisible}),
    [](const ::testing::TestParamInfo<CasCle>& cas) {
      // The counter's text, its letters and digits only, numbered so that
      // " 12 " and "12" stay apart.
      std::string nom = "n" + std::to_string(cas.index) + "_compteur_";
      for (const char* c = cas.param.compteur; *c != '\0'; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) nom += *c;
      }
      return nom;
    });

}  // namespace
}  // namespace morvanel::workflow
