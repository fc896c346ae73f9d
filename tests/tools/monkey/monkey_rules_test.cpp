// The rules of the random sessions catch what they are there for (a write
// from an action that saves nothing, a consultation user's write, a change
// that bypassed the write count, a swallowed exception, broken records),
// and shrinking keeps exactly the actions a failure needs.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "clerk_session.h"
#include "dba/database.h"
#include "demo/demo_seed.h"
#include "invariants.h"
#include "run_process.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "scenario_script.h"
#include "scenario_session.h"
#include "shown_form.h"
#include "shrink.h"
#include "throw_watch.h"

namespace monkey {
namespace {

namespace fs = std::filesystem;

class RulesTest : public ::testing::Test {
 protected:
  RulesTest() {
    fs::copy_file(ws_.templateDb, ws_.workDb, fs::copy_options::overwrite_existing);
    db_ = dba::Database::Open(ws_.workDb);
    demo::RegisterPostWriteRoutine(*db_, notes_);
  }

  // Plays `script` with the rules checked after each action, `between`
  // run before the check of the action on line `at`; the rule broken.
  std::string Play(const std::string& script, int level, int at = 0,
                   const std::function<void()>& between = {}) {
    std::istringstream in(script);
    Checker checker(*db_, ReadImage(*db_), level);
    scenario::Session* session = nullptr;
    scenario::SessionOptions o;
    o.afterAction = [&](const scenario::ScriptLine& line) -> std::optional<std::string> {
      if (line.number == at && between) between();
      if (auto b = checker.AfterAction(*session, line)) return FailureText(*b);
      return std::nullopt;
    };
    scenario::Session s("t.scn", scenario::ParseScript("t.scn", in), db_, o, notes_, notes_);
    session = &s;
    checker.Watch(s.Control().Controls());
    if (!s.Run()) return RuleOf(s.failure()->message);
    if (auto b = checker.AtEnd()) return b->rule;
    return "";
  }

  void WriteCentre(dba::Database& db, const std::string& key, const std::string& text) {
    dba::CItem r = db.DBOpen("CENTREURSSAF").DBNew(key);
    r.setItem(text);
    r.DBWrite();
  }

  tools_test::TempDir dir_;
  Workspace ws_ = PrepareWorkspace(dir_.File("ws"));
  std::ostringstream notes_;
  std::shared_ptr<dba::Database> db_;  // closed before the notes it writes to
};

// A save, a deletion with its transfer and a consultation break nothing.
TEST_F(RulesTest, ClerkWorkBreaksNoRule) {
  EXPECT_EQ(Play("init\ntype Txt_CodCtrUrssaf 02\ntype Txt_NomCtrUrssaf  bis\nclick Cmd_OK\n", 2),
            "");
  EXPECT_EQ(Play("init\ntype Txt_CodCtrUrssaf 01\nclick Cmd_Supprimer\nanswer Oui\n"
                 "pick Frm_SupprURSSAF.Cbo_CentreSuppr 0\nclick Frm_SupprURSSAF.Cmd_OKSuppr\n",
                 2),
            "");
  EXPECT_EQ(Play("niveau 1\ninit\ntype Txt_CodCtrUrssaf 07\nclick Cmd_Sortir\n", 1), "");
}

// GIVEN a centre shown WHEN a record changes during a click on a label, or
// during a consultation user's exit THEN the write is one no action of the
// clerk should have made
TEST_F(RulesTest, WriteOutsideASaveIsCaught) {
  const auto change = [&] { WriteCentre(*db_, "02", "CHANGED"); };
  EXPECT_EQ(Play("init\ntype Txt_CodCtrUrssaf 02\nclick Etq_NomCtrUrssaf\n", 2, 3, change),
            "unexpected-write");
  EXPECT_EQ(Play("niveau 1\ninit\ntype Txt_CodCtrUrssaf 02\nclick Cmd_Sortir\n", 1, 4, change),
            "consultation-write");
}

// A change made past the write count (another connection) shows at the end.
TEST_F(RulesTest, ChangeBypassingTheCountIsCaughtAtTheEnd) {
  const std::string script = "init\ntype Txt_CodCtrUrssaf 02\n";
  EXPECT_EQ(Play(script, 2, 2,
                 [&] {
                   auto other = dba::Database::Open(ws_.workDb);
                   WriteCentre(*other, "03", "ELSEWHERE");
                 }),
            "hidden-write");
}

// Records the save would leave broken: the rate attributes of different
// lengths, a case record left on a centre that is gone.
TEST_F(RulesTest, BrokenContentIsCaught) {
  DbImage image = ws_.templateImage;
  ASSERT_FALSE(CheckContent(image));
  image["CENTREURSSAF"]["02"] = mvdb::FromShown("S^N^^^^^^^^^^^^^^^^^20455]20090^6900");
  ASSERT_TRUE(CheckContent(image));
  EXPECT_EQ(CheckContent(image)->rule, "rate-attributes");
  image = ws_.templateImage;
  image["CENTREURSSAF"].erase(image["CENTREURSSAF"].begin()->first);
  ASSERT_TRUE(CheckContent(image));
  EXPECT_EQ(CheckContent(image)->rule, "case-centre");
}

TEST(ThrowWatch, SeesAnExceptionThatWasCaught) {
  TakeThrows();
  try {
    throw std::out_of_range("index");
  } catch (const std::exception&) {
    // swallowed, as a careless handler would
  }
  const std::vector<std::string> seen = TakeThrows();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "std::out_of_range");
  EXPECT_TRUE(TakeThrows().empty());
}

TEST(RuleOfFailure, NamesTheRuleOrTheEscapedError) {
  EXPECT_EQ(RuleOf(FailureText({"rate-lists", "3 and 2", ""})), "rate-lists");
  EXPECT_EQ(RuleOf("error: vector::at"), "exception");
  EXPECT_EQ(RuleOf("message box \"x\" (YesNo) has no answer"), "");
}

// GIVEN a failure that needs actions b and d (and b's answer)
// WHEN the session is shrunk
// THEN exactly those are left, in their order, behind the header
TEST(Shrink, KeepsOnlyTheActionsTheFailureNeeds) {
  const std::vector<std::string> lines = {"niveau 2", "init", "a", "b", "answer Oui",
                                          "c",        "d",    "e", "f"};
  const Split s = SplitSession(lines);
  ASSERT_EQ(s.header.size(), 2u);
  ASSERT_EQ(s.actions.size(), 6u);
  int tries = 0;
  const Split small = Shrink(
      s,
      [](const std::vector<std::string>& l) {
        const auto has = [&](const char* x) { return std::find(l.begin(), l.end(), x) != l.end(); };
        return has("b") && has("answer Oui") && has("d");
      },
      1000, &tries);
  EXPECT_EQ(Join(small), (std::vector<std::string>{"niveau 2", "init", "b", "answer Oui", "d"}));
  EXPECT_LT(tries, 60);
}

TEST(Shrink, StopsAtItsBudget) {
  const Split s = SplitSession({"init", "a", "b", "c", "d"});
  int tries = 0;
  const Split small = Shrink(
      s, [](const auto&) { return false; }, 3, &tries);
  EXPECT_EQ(tries, 3);
  EXPECT_EQ(small.actions.size(), 4u);
}

}  // namespace
}  // namespace monkey
