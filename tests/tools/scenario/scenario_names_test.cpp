// Names of controls over the stack of shown forms, and the comparison of
// observed and expected values.
#include <gtest/gtest.h>

#include "forms/form.h"
#include "scenario_names.h"
#include "scenario_values.h"

namespace scenario {
namespace {

using forms::Control;
using forms::Form;
using forms::Kind;

class ResolveTest : public ::testing::Test {
 protected:
  ResolveTest() {
    surfaceCode = &surface.Add(Kind::TextBox, "Txt_Code", {});
    surfaceOk = &surface.Add(Kind::Button, "Cmd_OK", {});
    address = &surface.Add(Kind::Embedded, "Ctr_Adresse", {});
    town = &surface.Add(Kind::TextBox, "Txt_Ville", {}, address, address);
    modalOk = &modal.Add(Kind::Button, "Cmd_OK", {});
    modalField = &modal.Add(Kind::TextBox, "Txt_CentreSuppr", {});
  }
  Form surface{"Ctr_Urssaf", 7800, 8400};
  Form modal{"Frm_Suppr", 4000, 2000};
  Control* surfaceCode;
  Control* surfaceOk;
  Control* address;
  Control* town;
  Control* modalOk;
  Control* modalField;
};

TEST_F(ResolveTest, ThatTheModalFormHidesSameNamedControlsOfTheSurface) {
  const std::vector<Form*> forms{&surface, &modal};
  const Target bare = Resolve("Cmd_OK", forms);
  EXPECT_EQ(bare.control, modalOk);
  EXPECT_EQ(bare.form, &modal);
  // the qualified names reach either one
  EXPECT_EQ(Resolve("Frm_Suppr.Cmd_OK", forms).control, modalOk);
  EXPECT_EQ(Resolve("Ctr_Urssaf.Cmd_OK", forms).control, surfaceOk);
  EXPECT_EQ(Resolve("UserControl.Cmd_OK", forms).control, surfaceOk);
  // a name only the surface has is still found there (for expectations),
  // inner parts of its embedded controls too
  EXPECT_EQ(Resolve("Txt_Code", forms).form, &surface);
  EXPECT_EQ(Resolve("Ctr_Adresse.Txt_Ville", forms).control, town);
  EXPECT_EQ(Resolve("UserControl", forms).form, &surface);
  const Target modalSurface = Resolve("Frm_Suppr", forms);
  EXPECT_EQ(modalSurface.form, &modal);
  EXPECT_EQ(modalSurface.control, nullptr);
}

TEST_F(ResolveTest, RefusesUnknownNamesSayingWhereItLooked) {
  const std::vector<Form*> forms{&surface, &modal};
  try {
    (void)Resolve("Txt_Nulle", forms);
    FAIL() << "resolved an unknown name";
  } catch (const NameError& e) {
    EXPECT_NE(std::string(e.what()).find("Frm_Suppr, Ctr_Urssaf"), std::string::npos) << e.what();
  }
  EXPECT_THROW((void)Resolve("Frm_Suppr.Txt_Code", forms), NameError);
  // a modal form that is not shown is not searched
  EXPECT_THROW((void)Resolve("Frm_Suppr.Cmd_OK", {&surface}), NameError);
}

TEST(Matches, ComparesBooleansInEveryAcceptedSpelling) {
  const Observed on{ValueKind::Boolean, "True"};
  const Observed off{ValueKind::Boolean, "False"};
  for (const char* yes : {"True", "true", "TRUE", "-1", "1", "Vrai", "vrai"}) {
    EXPECT_TRUE(Matches(on, yes)) << yes;
    EXPECT_FALSE(Matches(off, yes)) << yes;
  }
  for (const char* no : {"False", "false", "0", "Faux", "FAUX"}) {
    EXPECT_TRUE(Matches(off, no)) << no;
    EXPECT_FALSE(Matches(on, no)) << no;
  }
  for (const char* neither : {"", "oui", "2", "Truth"}) {
    EXPECT_FALSE(Matches(on, neither)) << neither;
    EXPECT_FALSE(Matches(off, neither)) << neither;
  }
}

TEST(Matches, ComparesNumbersAsNumbersAndTextsExactly) {
  EXPECT_TRUE(Matches({ValueKind::Number, "-1"}, "-1"));
  EXPECT_TRUE(Matches({ValueKind::Number, "6"}, " 6 "));
  EXPECT_FALSE(Matches({ValueKind::Number, "6"}, "six"));
  EXPECT_FALSE(Matches({ValueKind::Number, "0"}, ""));
  EXPECT_TRUE(Matches({ValueKind::Text, ""}, ""));
  EXPECT_TRUE(Matches({ValueKind::Text, "Rhône"}, "Rhône"));
  EXPECT_FALSE(Matches({ValueKind::Text, "Rhône"}, "Rhône "));
  EXPECT_FALSE(Matches({ValueKind::Text, "07"}, "7"));
}

}  // namespace
}  // namespace scenario
