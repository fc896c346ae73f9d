// Playing scenarios on a headless control over a seeded demo database:
// failures name their line and values, message boxes get their answers
// from the script, and a run stops at its first failure.
#include <gtest/gtest.h>

#include <sstream>

#include "dba/database.h"
#include "demo/demo_seed.h"
#include "run_process.h"
#include "scenario_script.h"
#include "scenario_session.h"

namespace scenario {
namespace {

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    db_ = dba::Database::Open(dir_.File("demo.mvdb"), {.create = true});
    demo::SeedDemo(*db_);
    demo::RegisterPostWriteRoutine(*db_, err_);
  }

  // Plays `script`; the report of its failure, or "" when it passed.
  std::string Play(const std::string& script) {
    std::istringstream in(script);
    Session s("t.scn", ParseScript("t.scn", in), db_, {}, out_, err_);
    return s.Run() ? std::string() : s.Report();
  }

  tools_test::TempDir dir_;
  std::ostringstream out_;
  std::ostringstream err_;
  std::shared_ptr<dba::Database> db_;  // closed before the streams it reports to
};

TEST_F(SessionTest, AFailedExpectationNamesItsLineAndBothValuesAndStopsTheRun) {
  const std::string report = Play(
      "init\n"
      "type Txt_CodCtrUrssaf 02\n"
      "expect Txt_SigleCtrUrssaf.Text = URSSAF BRETAGNE\n"
      "expect Txt_NomCtrUrssaf.Text = not checked\n");
  EXPECT_NE(report.find("t.scn:3: expect Txt_SigleCtrUrssaf.Text = URSSAF BRETAGNE"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("expected: \"URSSAF BRETAGNE\""), std::string::npos) << report;
  EXPECT_NE(report.find("actual:   \"URSSAF RHONE-ALPES\""), std::string::npos) << report;
  EXPECT_EQ(report.find("not checked"), std::string::npos) << report;
}

TEST_F(SessionTest, AnOkBoxTakesTheAnswerWrittenAfterItsExpectationOrOk) {
  EXPECT_EQ(Play("init\n"
                 "type Txt_CodCtrUrssaf 42\n"
                 "# the box has been answered when this runs\n"
                 "expect-msg \"Ce centre URSSAF n'existe pas.\"\n"
                 "answer OK\n"
                 "expect-no-msg\n"),
            "");
  EXPECT_EQ(err_.str().find("never used"), std::string::npos) << err_.str();
  EXPECT_NE(out_.str().find("[Exclamation, OK, \"Message TARVELINE\"] answered OK"),
            std::string::npos)
      << out_.str();
  // Without an answer of its own it gets OK, and a Yes meant for a later
  // question is not taken: it is reported as unused.
  EXPECT_EQ(Play("init\ntype Txt_CodCtrUrssaf 42\nanswer Oui\n"), "");
  EXPECT_NE(err_.str().find("1 queued answer(s) never used"), std::string::npos) << err_.str();
}

TEST_F(SessionTest, AScriptThatCannotGoOnFailsNamingItsLineAndWhy) {
  const struct {
    const char* script;
    const char* line;
    const char* why;
  } cases[] = {
      {"init\nanswer Non\ntype Txt_CodCtrUrssaf 42\n", "t.scn:3:", "cannot be answered No"},
      // the box shown since the last expectation is named
      {"init\nexpect-no-msg\ntype Txt_CodCtrUrssaf 42\nexpect-no-msg\n",
       "t.scn:4:", "Ce centre URSSAF n'existe pas."},
      {"init\nexpect-msg \"Ce centre URSSAF n'existe pas.\"\n",
       "t.scn:2:", "no message box was shown"},
      {"click Cmd_Sortir\n", "t.scn:1:", "init has not run"},
      {"init\nclick Cmd_Nulle\n", "t.scn:2:", "no control \"Cmd_Nulle\""},
      {"init\nniveau 1\n", "t.scn:2:", "before init"},
  };
  for (const auto& c : cases) {
    const std::string report = Play(c.script);
    EXPECT_NE(report.find(c.line), std::string::npos) << c.script << report;
    EXPECT_NE(report.find(c.why), std::string::npos) << c.script << report;
  }
}

TEST_F(SessionTest, AnotherWorkstationsWriteGoesThroughASessionOfItsOwn) {
  // GIVEN a record the runner's own session holds locked, WHEN the other
  // workstation writes it, THEN the scenario fails at that line, naming the
  // error, and the record is untouched; a record nobody holds is written.
  const dba::DBFile centres = db_->DBOpen("CENTREURSSAF");
  const std::string avant = centres.ReadLocked("02").Item();
  const std::string report = Play(
      "db-write CENTREURSSAF 04 URSSAF OUEST^Nom~]1]2\\s\n"
      "expect-record CENTREURSSAF 04 * = URSSAF OUEST^Nom~]1]2\\s\n"
      "db-write CENTREURSSAF 02 URSSAF X\n"
      "expect-record CENTREURSSAF 02 1 = not reached\n");
  centres.Release("02");
  EXPECT_NE(report.find("t.scn:3: db-write CENTREURSSAF 02 URSSAF X"), std::string::npos) << report;
  EXPECT_NE(report.find("failed: error 0x8004000B"), std::string::npos) << report;
  EXPECT_EQ(centres.DBRead("02").Item(), avant);
  EXPECT_EQ(centres.DBRead("04").Item(),
            "URSSAF OUEST\xFENom]1\xFD"
            "2\xFCs");
}

TEST(ParseScript, NamesTheFileAndLineOfASyntaxError) {
  std::istringstream in("init\n\n# fine\nexpect Txt_CodCtrUrssaf 07\n");
  try {
    (void)ParseScript("bad.scn", in);
    FAIL() << "accepted a bad line";
  } catch (const ScriptError& e) {
    EXPECT_NE(std::string(e.what()).find("bad.scn:4: expect Txt_CodCtrUrssaf 07"),
              std::string::npos)
        << e.what();
  }
}

}  // namespace
}  // namespace scenario
