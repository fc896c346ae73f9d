// Scenario lines to commands: the syntax of every command, table-driven,
// and the lines that must be refused with a reason.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "scenario_command.h"

namespace scenario {
namespace {

using forms::MsgAnswer;

struct Parsed {
  const char* line;
  Verb verb;
  const char* name;
  const char* text;
  int number;
};

class ParseLineTest : public ::testing::TestWithParam<Parsed> {};

// The line itself, letters and digits kept, after its place in the table
// (two lines may differ only in blanks): "07_key_Txt_CodCtrUrssaf_ENTER".
std::string LineName(const ::testing::TestParamInfo<Parsed>& info) {
  std::string name = (info.index < 10 ? "0" : "") + std::to_string(info.index);
  bool gap = true;
  for (const char* c = info.param.line; *c != '\0'; ++c) {
    const bool kept =
        std::isalnum(static_cast<unsigned char>(*c)) != 0 && static_cast<unsigned char>(*c) < 0x80;
    if (kept) {
      if (gap) name += '_';
      name += *c;
    }
    gap = !kept;
  }
  return name;
}

TEST_P(ParseLineTest, GivesVerbNameTextAndNumber) {
  const Parsed& p = GetParam();
  const std::optional<Command> c = ParseLine(p.line);
  ASSERT_TRUE(c) << p.line;
  EXPECT_EQ(c->verb, p.verb) << p.line;
  EXPECT_EQ(c->name, p.name) << p.line;
  EXPECT_EQ(c->text, p.text) << p.line;
  EXPECT_EQ(c->number, p.number) << p.line;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ParseLineTest,
    ::testing::Values(
        Parsed{"user consult", Verb::User, "consult", "", -1},
        Parsed{"niveau 1", Verb::Niveau, "", "", 1}, Parsed{"init", Verb::Init, "", "", -1},
        Parsed{"  init  ", Verb::Init, "", "", -1},
        // the typed text is everything after one blank, blanks and accents included
        Parsed{"type Txt_NomCtrUrssaf Urssaf Rhône", Verb::Type, "Txt_NomCtrUrssaf", "Urssaf Rhône",
               -1},
        Parsed{"type Txt_NomCtrUrssaf  bis ", Verb::Type, "Txt_NomCtrUrssaf", " bis ", -1},
        Parsed{"key Txt_CodCtrUrssaf {ENTER}", Verb::Key, "Txt_CodCtrUrssaf", "{ENTER}", 13},
        Parsed{"key Txt_CodeEntite {backspace}", Verb::Key, "Txt_CodeEntite", "{backspace}", 8},
        Parsed{"key Txt_CodeEntite {TAB}", Verb::Key, "Txt_CodeEntite", "{TAB}", 9},
        Parsed{"key Txt_CodeEntite {DELETE}", Verb::Key, "Txt_CodeEntite", "{DELETE}", kKeyDelete},
        Parsed{"key Txt_CodeEntite a", Verb::Key, "Txt_CodeEntite", "a", 'a'},
        Parsed{"focus Cbo_Entite", Verb::Focus, "Cbo_Entite", "", -1},
        Parsed{"click Frm_SupprURSSAF.Cmd_OK", Verb::Click, "Frm_SupprURSSAF.Cmd_OK", "", -1},
        Parsed{"dblclick Lst_Date", Verb::DblClick, "Lst_Date", "", -1},
        Parsed{"dblclick Lst_Date 2", Verb::DblClick, "Lst_Date", "", 2},
        Parsed{"rightclick UserControl", Verb::RightClick, "UserControl", "", -1},
        Parsed{"pick Cbo_SigleCtrUrssaf 3", Verb::Pick, "Cbo_SigleCtrUrssaf", "", 3},
        Parsed{"scroll Bdv_Date 4", Verb::Scroll, "Bdv_Date", "", 4},
        Parsed{"wheel Lst_Date -2", Verb::Wheel, "Lst_Date", "", -2},
        Parsed{"close-window", Verb::CloseWindow, "", "", -1},
        Parsed{"key Lst_Date {pgdn}", Verb::Key, "Lst_Date", "{pgdn}", kKeyPageDown},
        Parsed{"key Lst_Date {HOME}", Verb::Key, "Lst_Date", "{HOME}", kKeyHome},
        Parsed{"answer Oui", Verb::Answer, "", "Oui", -1},
        Parsed{"answer {ENTER}", Verb::Answer, "", "{ENTER}", -1},
        Parsed{"expect Txt_CodCtrUrssaf.Text = 07", Verb::Expect, "Txt_CodCtrUrssaf", "07", -1},
        // the value is the rest after "= ": it may be empty or hold blanks
        Parsed{"expect Txt_CodCtrUrssaf.Text = ", Verb::Expect, "Txt_CodCtrUrssaf", "", -1},
        Parsed{"expect Txt_CodCtrUrssaf.Text =", Verb::Expect, "Txt_CodCtrUrssaf", "", -1},
        Parsed{"expect Txt_NomCtrUrssaf.Text =  deux  ", Verb::Expect, "Txt_NomCtrUrssaf",
               " deux  ", -1},
        Parsed{"expect Ctr_AdresseUrssaf.Txt_Ville.Text = LYON", Verb::Expect,
               "Ctr_AdresseUrssaf.Txt_Ville", "LYON", -1},
        Parsed{"expect Lst_Date.List(1) = 01/01/2020", Verb::Expect, "Lst_Date", "01/01/2020", 1},
        Parsed{"expect W_Sortir = 1", Verb::ExpectSortir, "", "1", 1},
        Parsed{"expect-msg \"Ce centre URSSAF n'existe pas.\"", Verb::ExpectMsg, "",
               "Ce centre URSSAF n'existe pas.", -1},
        Parsed{"expect-msg sans guillemets", Verb::ExpectMsg, "", "sans guillemets", -1},
        Parsed{"expect-no-msg", Verb::ExpectNoMsg, "", "", -1},
        Parsed{"expect-help \"CentreUrssaf.htm\"", Verb::ExpectHelp, "", "CentreUrssaf.htm", -1},
        Parsed{"expect-popup Mnu_Aide", Verb::ExpectPopup, "Mnu_Aide", "", -1},
        Parsed{"dump", Verb::Dump, "", "", -1},
        Parsed{"dump Frm_AdresseBancaire", Verb::Dump, "Frm_AdresseBancaire", "", -1}),
    LineName);

TEST(ParseLine, BlankAndCommentLinesGiveNoCommand) {
  for (const char* line : {"", "   ", "\t", "# comment", "   # indented comment", "\r"}) {
    EXPECT_FALSE(ParseLine(line)) << '"' << line << '"';
  }
}

TEST(ParseLine, DropsTheCarriageReturnOfWindowsLines) {
  const auto c = ParseLine("expect Txt_CodCtrUrssaf.Text = 07\r");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->text, "07");
}

TEST(ParseLine, ReadsProperties) {
  struct Case {
    const char* line;
    Prop property;
  };
  const Case cases[] = {
      {"expect A.Text = x", Prop::Text},           {"expect A.Caption = x", Prop::Text},
      {"expect A.enabled = True", Prop::Enabled},  {"expect A.Visible = 0", Prop::Visible},
      {"expect A.ListCount = 3", Prop::ListCount}, {"expect A.ListIndex = -1", Prop::ListIndex},
      {"expect A.Value = 1", Prop::Value},         {"expect A.Max = 2", Prop::Max},
      {"expect A.Focused = Vrai", Prop::Focused},  {"expect A.List(0) = x", Prop::List}};
  for (const Case& c : cases) {
    const auto parsed = ParseLine(c.line);
    ASSERT_TRUE(parsed) << c.line;
    EXPECT_EQ(parsed->property, c.property) << c.line;
  }
}

TEST(ParseLine, ReadsAnswersInFrenchOrEnglish) {
  const std::pair<const char*, MsgAnswer> cases[] = {
      {"answer Oui", MsgAnswer::Yes},        {"answer yes", MsgAnswer::Yes},
      {"answer Non", MsgAnswer::No},         {"answer NO", MsgAnswer::No},
      {"answer Annuler", MsgAnswer::Cancel}, {"answer Cancel", MsgAnswer::Cancel},
      {"answer OK", MsgAnswer::OK},          {"answer ok", MsgAnswer::OK}};
  for (const auto& [line, answer] : cases) {
    const auto c = ParseLine(line);
    ASSERT_TRUE(c) << line;
    EXPECT_EQ(c->answer, answer) << line;
  }
}

TEST(ParseLine, ReadsRecordExpectations) {
  auto c = ParseLine("expect-record CENTREURSSAF 02 20 = 20454]19724");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->verb, Verb::ExpectRecord);
  EXPECT_EQ(c->name, "CENTREURSSAF");
  EXPECT_EQ(c->text, "02");
  EXPECT_EQ(c->position, std::vector<int>{20});
  EXPECT_EQ(c->value, "20454]19724");

  c = ParseLine("expect-record ETABLISSEMENT \"001 002\" 20.2.1 = ");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->text, "001 002");
  EXPECT_EQ(c->position, (std::vector<int>{20, 2, 1}));
  EXPECT_EQ(c->value, "");

  c = ParseLine("expect-record CENTREURSSAF 42 * = ");
  ASSERT_TRUE(c);
  EXPECT_TRUE(c->position.empty());
}

TEST(ParseLine, ReadsAnotherWorkstationsChanges) {
  struct Case {
    const char* line;
    Verb verb;
    const char* file;
    const char* key;
    const char* text;
  };
  const Case cases[] = {
      {"db-write CENTREURSSAF 02 URSSAF X^Nom ~^ deux]v", Verb::DbWrite, "CENTREURSSAF", "02",
       "URSSAF X^Nom ~^ deux]v"},
      {"db-write ETABLISSEMENT \"001 002\"  lead blank ", Verb::DbWrite, "ETABLISSEMENT", "001 002",
       " lead blank "},
      {"db-write CENTREURSSAF 02 ", Verb::DbWrite, "CENTREURSSAF", "02", ""},
      {"db-delete CENTREURSSAF 07", Verb::DbDelete, "CENTREURSSAF", "07", ""},
      {"db-delete ETABLISSEMENT \"001 002\"", Verb::DbDelete, "ETABLISSEMENT", "001 002", ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.line);
    const auto c = ParseLine(k.line);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->verb, k.verb);
    EXPECT_EQ(c->name, k.file);
    EXPECT_EQ(c->text, k.key);
    EXPECT_EQ(c->value, k.text);
    EXPECT_FALSE(c->IsAction());
    EXPECT_FALSE(c->IsExpectation());
  }
}

TEST(ParseLine, RefusesMalformedLinesWithAReason) {
  struct Case {
    const char* line;
    const char* reason;
  };
  const Case cases[] = {{"frobnicate X", "unknown command"},
                        {"type Txt_CodCtrUrssaf", "needs a text"},
                        {"type Txt_CodCtrUrssaf ", "needs a text"},
                        {"key Txt_CodCtrUrssaf {F13}", "unknown key"},
                        {"key Txt_CodCtrUrssaf", "missing the key"},
                        {"pick Cbo_Entite deux", "whole number"},
                        {"pick Cbo_Entite", "missing the index"},
                        {"niveau", "missing the level"},
                        {"answer Peut-être", "unknown answer"},
                        {"init now", "unexpected"},
                        {"wheel Lst_Date", "missing the steps"},
                        {"close-window now", "unexpected"},
                        {"expect Txt_CodCtrUrssaf = 07", "CONTROL.PROPERTY"},
                        {"expect Txt_CodCtrUrssaf.Colour = red", "unknown property"},
                        {"expect Txt_CodCtrUrssaf.Text 07", "= VALUE"},
                        {"expect W_Sortir = oui", "whole number"},
                        {"expect-msg \"unclosed", "unclosed quote"},
                        {"expect-msg", "missing the message"},
                        {"expect-record CENTREURSSAF 02 = x", "whole number"},
                        {"expect-record CENTREURSSAF 02 0.1 = x", "start at 1"},
                        {"expect-record CENTREURSSAF 02 1.2.3.4 = x", "at most"},
                        {"expect-no-msg please", "unexpected"},
                        {"db-write CENTREURSSAF 02", "needs a text"},
                        {"db-write CENTREURSSAF", "missing the record key"},
                        {"db-write CENTREURSSAF \"02", "unclosed quote"},
                        {"db-delete CENTREURSSAF 07 08", "unexpected"},
                        {"db-delete", "missing the file name"}};
  for (const Case& c : cases) {
    try {
      (void)ParseLine(c.line);
      ADD_FAILURE() << "accepted: " << c.line;
    } catch (const ParseError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos)
          << c.line << " -> " << e.what();
    }
  }
}

}  // namespace
}  // namespace scenario
