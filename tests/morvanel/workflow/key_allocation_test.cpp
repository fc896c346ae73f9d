// The key a new centre gets from the counter, and the keys passed over.
#include "morvanel/workflow/key_allocation.h"

#include <gtest/gtest.h>

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

TEST(ProchaineCle, HandsOutTheFirstFreeKeyAboveTheCounter) {
  // clang-format off
  const CasCle cas[] = {
      {"", {}, "01", std::nullopt}, {"   ", {}, "01", std::nullopt}, {"00", {}, "01", std::nullopt},
      {"09", {}, "10", std::nullopt}, {"7", {}, "08", std::nullopt}, {" 12 ", {}, "13", std::nullopt},
      {"98", {}, "99", std::nullopt},
      // An import left the counter behind: the keys in use are passed over.
      {"03", {"04", "05"}, "06", std::nullopt}, {"97", {"98", "99"}, "", kPlus},
      {"99", {}, "", kPlus}, {"150", {}, "", kPlus}, {"99999999999999999999", {}, "", kPlus},
      {"abc", {}, "", kIllisible}, {"7x", {}, "", kIllisible}, {"-3", {}, "", kIllisible},
      {"+3", {}, "", kIllisible}, {"1 2", {}, "", kIllisible}};
  // clang-format on
  for (const CasCle& c : cas) {
    SCOPED_TRACE(std::string("counter \"") + c.compteur + "\"");
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
}

}  // namespace
}  // namespace morvanel::workflow
