// Scenario lines to commands: the syntax of every command, table-driven,
// and the lines that must be refused with a reason.
#include <gtest/gtest.h>

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

// The plain forms of the commands are played by the scenarios; these are
// the ones they do not meet.
TEST(ParseLine, GivesVerbNameTextAndNumber) {
  const Parsed cases[] = {
      {"  init  ", Verb::Init, "", "", -1},
      // the typed text is everything after one blank, blanks and accents included
      {"type Txt_NomCtrUrssaf Urssaf Rhône", Verb::Type, "Txt_NomCtrUrssaf", "Urssaf Rhône", -1},
      {"type Txt_NomCtrUrssaf  bis ", Verb::Type, "Txt_NomCtrUrssaf", " bis ", -1},
      {"key Txt_CodeEntite {backspace}", Verb::Key, "Txt_CodeEntite", "{backspace}", 8},
      {"key Txt_CodeEntite {DELETE}", Verb::Key, "Txt_CodeEntite", "{DELETE}", kKeyDelete},
      {"key Txt_CodeEntite a", Verb::Key, "Txt_CodeEntite", "a", 'a'},
      {"dblclick Lst_Date 2", Verb::DblClick, "Lst_Date", "", 2},
      {"key Lst_Date {pgdn}", Verb::Key, "Lst_Date", "{pgdn}", kKeyPageDown},
      {"answer {ENTER}", Verb::Answer, "", "{ENTER}", -1},
      // the value is the rest after "= ": it may be empty or hold blanks
      {"expect Txt_CodCtrUrssaf.Text = ", Verb::Expect, "Txt_CodCtrUrssaf", "", -1},
      {"expect Txt_CodCtrUrssaf.Text =", Verb::Expect, "Txt_CodCtrUrssaf", "", -1},
      {"expect Txt_NomCtrUrssaf.Text =  deux  ", Verb::Expect, "Txt_NomCtrUrssaf", " deux  ", -1},
      {"expect Lst_Date.List(1) = 01/01/2020", Verb::Expect, "Lst_Date", "01/01/2020", 1},
      {"expect-msg sans guillemets", Verb::ExpectMsg, "", "sans guillemets", -1},
      {"dump", Verb::Dump, "", "", -1},
      {"dump Frm_AdresseBancaire", Verb::Dump, "Frm_AdresseBancaire", "", -1},
      // a Windows line end is not part of the value
      {"expect Txt_CodCtrUrssaf.Text = 07\r", Verb::Expect, "Txt_CodCtrUrssaf", "07", -1}};
  for (const Parsed& p : cases) {
    SCOPED_TRACE(p.line);
    const std::optional<Command> c = ParseLine(p.line);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->verb, p.verb);
    EXPECT_EQ(c->name, p.name);
    EXPECT_EQ(c->text, p.text);
    EXPECT_EQ(c->number, p.number);
  }
}

TEST(ParseLine, BlankAndCommentLinesGiveNoCommand) {
  for (const char* line : {"", "   ", "\t", "# comment", "   # indented comment", "\r"}) {
    EXPECT_FALSE(ParseLine(line)) << '"' << line << '"';
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

// The simple forms ("02 20 = ...", "* = ") are played by the scenarios.
TEST(ParseLine, ReadsRecordExpectationsOfAQuotedKeyAndASubvalue) {
  const auto c = ParseLine("expect-record ETABLISSEMENT \"001 002\" 20.2.1 = ");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->verb, Verb::ExpectRecord);
  EXPECT_EQ(c->name, "ETABLISSEMENT");
  EXPECT_EQ(c->text, "001 002");
  EXPECT_EQ(c->position, (std::vector<int>{20, 2, 1}));
  EXPECT_EQ(c->value, "");
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
      {"db-write ETABLISSEMENT \"001 002\"  lead blank ", Verb::DbWrite, "ETABLISSEMENT", "001 002",
       " lead blank "},
      {"db-write CENTREURSSAF 02 ", Verb::DbWrite, "CENTREURSSAF", "02", ""},
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
