// Playing scenarios on a headless control over a seeded demo database:
// failures name their line and values, message boxes get their answers
// from the script, and a run stops at its first failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "dba/database.h"
#include "demo/demo_seed.h"
#include "scenario_script.h"
#include "scenario_session.h"
#include "shown_form.h"

namespace scenario {
namespace {

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    dir_ = std::filesystem::temp_directory_path() /
           ("scenario_session_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    db_ = dba::Database::Open((dir_ / "demo.mvdb").string(), {.create = true});
    demo::SeedDemo(*db_);
    demo::RegisterPostWriteRoutine(*db_, err_);
  }
  ~SessionTest() override {
    db_.reset();
    std::filesystem::remove_all(dir_);
  }

  // Plays `script`; the report of its failure, or "" when it passed.
  std::string Play(const std::string& script) {
    std::istringstream in(script);
    Session s("t.scn", ParseScript("t.scn", in), db_, {}, out_, err_);
    return s.Run() ? std::string() : s.Report();
  }

  std::filesystem::path dir_;
  std::shared_ptr<dba::Database> db_;
  std::ostringstream out_;
  std::ostringstream err_;
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

TEST_F(SessionTest, AnOkBoxTakesTheAnswerWrittenAfterItsExpectation) {
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
}

TEST_F(SessionTest, AnOkBoxWithoutAnswerIsAnsweredOkAndALaterQuestionAnswerIsKept) {
  EXPECT_EQ(Play("init\n"
                 "type Txt_CodCtrUrssaf 42\n"
                 "answer Oui\n"),
            "");
  // the Yes was not taken by the OK box: it is reported as unused
  EXPECT_NE(err_.str().find("1 queued answer(s) never used"), std::string::npos) << err_.str();
}

TEST_F(SessionTest, AQueuedAnswerThatIsNoButtonOfTheBoxFails) {
  const std::string report = Play(
      "init\n"
      "answer Non\n"
      "type Txt_CodCtrUrssaf 42\n");
  EXPECT_NE(report.find("t.scn:3:"), std::string::npos) << report;
  EXPECT_NE(report.find("cannot be answered No"), std::string::npos) << report;
}

TEST_F(SessionTest, ExpectNoMsgNamesTheBoxShownSinceTheLastExpectation) {
  const std::string report = Play(
      "init\n"
      "expect-no-msg\n"
      "type Txt_CodCtrUrssaf 42\n"
      "expect-no-msg\n");
  EXPECT_NE(report.find("t.scn:4:"), std::string::npos) << report;
  EXPECT_NE(report.find("Ce centre URSSAF n'existe pas."), std::string::npos) << report;
}

TEST_F(SessionTest, ExpectMsgWithoutABoxFails) {
  const std::string report = Play("init\nexpect-msg \"Ce centre URSSAF n'existe pas.\"\n");
  EXPECT_NE(report.find("no message box was shown"), std::string::npos) << report;
}

TEST_F(SessionTest, ActionsBeforeInitAndUnknownControlsAreScenarioErrors) {
  EXPECT_NE(Play("click Cmd_Sortir\n").find("init has not run"), std::string::npos);
  EXPECT_NE(Play("init\nclick Cmd_Nulle\n").find("no control \"Cmd_Nulle\""), std::string::npos);
  EXPECT_NE(Play("init\nniveau 1\n").find("before init"), std::string::npos);
  EXPECT_NE(Play("user personne\ninit\n").find("t.scn:1:"), std::string::npos);
}

TEST_F(SessionTest, RecordValuesAreWrittenWithTheShellsMarks) {
  const std::string rates = db_->DBOpen("CENTREURSSAF").DBRead("02").Item(20);
  ASSERT_NE(rates.find('\xFD'), std::string::npos) << "the demo centre should hold several dates";
  EXPECT_EQ(Play("expect-record CENTREURSSAF 02 20 = " + mvdb::ToShown(rates) + "\n"), "");
  EXPECT_EQ(Play("expect-record CENTREURSSAF 99 * = \n"), "");
  const std::string report = Play("expect-record CENTREURSSAF 02 1 = URSSAF\n");
  EXPECT_NE(report.find("actual:   \"URSSAF RHONE-ALPES\""), std::string::npos) << report;
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
