// The SNV2 code (nine digits or nothing) as a clerk types, pastes and
// leaves it, and as read from the database. (The flat amount, and the SNV2
// code typed: fields_snv2_amount.scn.)
#include <gtest/gtest.h>

#include <string>

#include "poste_centres.h"
#include "morvanel/fields/snv2_montant_fields.h"

namespace morvanel::testing {
namespace {

constexpr const char* kSNV2 = "Le code adresse SVN2 doit être composé de 9 chiffres.";

class Champs : public ::testing::Test {
 protected:
  Champs() { p.Montrer("07"); }
  state::UrssafScreen& e() { return p.e(); }
  PosteCentres p;
};

TEST_F(Champs, LeavingTheSNV2CodeWithoutNineDigitsIsToldAndTheFocusComesBack) {
  struct Cas {
    const char* code;
    bool refuse;
  };
  for (const Cas& c :
       {Cas{"12345678", true}, Cas{"1", true}, Cas{"123456789", false}, Cas{"", false}}) {
    SCOPED_TRACE(c.code);
    e().Txt_CodeSNV2.SetText(c.code);
    p.clerc().Focus(e().Txt_CodeSNV2);
    p.clerc().Focus(e().Txt_InterlocCtrUrssaf);
    const auto messages = p.services.takeMessages();
    if (c.refuse) {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].text, kSNV2);
      EXPECT_EQ(messages[0].icon, forms::MsgIcon::Exclamation);
      EXPECT_TRUE(e().Txt_CodeSNV2.Focused());
      EXPECT_EQ(e().Txt_CodeSNV2.Text(), c.code);  // kept as typed
    } else {
      EXPECT_TRUE(messages.empty());
      EXPECT_TRUE(e().Txt_InterlocCtrUrssaf.Focused());
    }
  }
}

TEST(CodeSNV2, HeldFromTheDatabaseToTheSameRuleAsTyped) {
  EXPECT_TRUE(fields::CodeSNV2Valide("069123456"));
  EXPECT_TRUE(fields::CodeSNV2Valide(""));
  for (const char* refuse : {"06912345A", "0691234567", "06912 345", "12345678"}) {
    EXPECT_FALSE(fields::CodeSNV2Valide(refuse)) << refuse;
  }
}

TEST_F(Champs, OnlyNineDigitsGetIntoTheSNV2Code) {
  e().Txt_CodeSNV2.SetText("");
  p.clerc().Type(e().Txt_CodeSNV2, "12a3-4 5");
  p.clerc().Paste(e().Txt_CodeSNV2, "6x7.89");
  p.clerc().Type(e().Txt_CodeSNV2, "0");  // a tenth digit
  EXPECT_EQ(e().Txt_CodeSNV2.Text(), "123456789");
  EXPECT_TRUE(p.Messages().empty());
}

}  // namespace
}  // namespace morvanel::testing
