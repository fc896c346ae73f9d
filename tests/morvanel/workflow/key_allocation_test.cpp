// The key a new centre gets from the counter, and the keys passed over.
#include "morvanel/workflow/key_allocation.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <set>
#include <string>

namespace morvanel::workflow {
namespace {

struct CasCle {
  const char* compteur;
  std::set<std::string> prises;  // keys some centre already has
  const char* cle;               // "" when refused
  std::optional<RefusCle> refus;
};

constexpr auto kIllisible = RefusCle::CompteurIllisible;
constexpr auto kPlus = RefusCle::PlusDeCle;

class ProchaineCleTest : public ::testing::TestWithParam<CasCle> {};

TEST_P(ProchaineCleTest, HandsOutTheFirstFreeKeyAboveTheCounter) {
  const CasCle& c = GetParam();
  int demandes = 0;
  const Allocation a = ProchaineCle(c.compteur, [&](const std::string& cle) {
    ++demandes;
    return c.prises.count(cle) > 0;
  });
  EXPECT_EQ(a.cle, c.cle);
  EXPECT_EQ(a.refus, c.refus);
  if (c.refus == RefusCle::CompteurIllisible) {
    EXPECT_EQ(demandes, 0) << "no centre looked at";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Compteurs, ProchaineCleTest,
    ::testing::Values(CasCle{"", {}, "01", std::nullopt}, CasCle{"   ", {}, "01", std::nullopt},
                      CasCle{"00", {}, "01", std::nullopt}, CasCle{"09", {}, "10", std::nullopt},
                      CasCle{"7", {}, "08", std::nullopt}, CasCle{" 12 ", {}, "13", std::nullopt},
                      CasCle{"98", {}, "99", std::nullopt},
                      // An import left the counter behind: the keys in use are passed over.
                      CasCle{"03", {"04", "05"}, "06", std::nullopt},
                      CasCle{"97", {"98", "99"}, "", kPlus}, CasCle{"99", {}, "", kPlus},
                      CasCle{"150", {}, "", kPlus}, CasCle{"99999999999999999999", {}, "", kPlus},
                      CasCle{"abc", {}, "", kIllisible}, CasCle{"7x", {}, "", kIllisible},
                      CasCle{"-3", {}, "", kIllisible}, CasCle{"+3", {}, "", kIllisible},
                      CasCle{"1 2", {}, "", kIllisible}),
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
