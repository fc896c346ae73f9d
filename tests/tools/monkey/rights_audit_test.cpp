// The rights audit: a consultation user (level 1) takes every action of the
// repertoire on every control of every screen state reachable to them,
// the modal forms included, with every answer to every box that appears,
// and the database file stays byte for byte what it was.
//
// The states are found, not listed: a walk from the screen after Init
// replays the actions that reached each state, tries each action there,
// and keeps any screen it had not seen (which controls are enabled and
// shown, the forms open, the lines of each list, the editing modes) as a
// state to walk in turn. The controls come from the forms themselves, so
// a control added later is walked too.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "actions.h"
#include "clerk_session.h"
#include "dba/database.h"
#include "demo/demo_seed.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "morvanel/state/instance_state.h"
#include "run_process.h"
#include "scenario_session.h"

namespace monkey {
namespace {

namespace fs = std::filesystem;
using forms::Form;
using forms::MsgAnswer;
using forms::MsgButtons;

// Beyond these, a walk that keeps finding states is a fault of its own.
constexpr std::size_t kMaxStates = 400;

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What tells one screen state from another; typed texts, the focus and the
// selected lines are left out, or every keystroke would be a state.
std::string Signature(scenario::Session& s) {
  std::ostringstream sig;
  const auto& etat = s.Control().Etat();
  sig << etat.ModeAjout << etat.ModeRapport << s.HostUnloaded();
  for (const Form* f : s.Forms()) {
    sig << "|" << f->Name() << f->Enabled() << ":";
    for (const auto& c : f->AllControls()) {
      sig << c->Enabled() << c->Visible() << c->ListCount() << ",";
    }
  }
  return sig.str();
}

struct Work {
  std::string line;
  std::vector<int> plan;  // the button chosen in each box, in order; 0 past the end
  std::string then;       // a button's action right after `line`, in the same state
};

const std::vector<MsgAnswer>& Buttons(MsgButtons b) {
  static const std::vector<MsgAnswer> ok = {MsgAnswer::OK};
  static const std::vector<MsgAnswer> yn = {MsgAnswer::Yes, MsgAnswer::No};
  static const std::vector<MsgAnswer> ync = {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
  return b == MsgButtons::OK ? ok : b == MsgButtons::YesNo ? yn : ync;
}

class RightsAudit {
 public:
  explicit RightsAudit(std::shared_ptr<dba::Database> db) : db_(std::move(db)) {}

  // Walks every state from the one after Init; returns the faults seen.
  std::vector<std::string> Walk(const std::vector<std::string>& header) {
    states_.push_back({"", header, header});
    for (std::size_t i = 0; i < states_.size() && i < kMaxStates; ++i) {
      const State st = states_[i];
      if (!walkState(st.shortWay, st.signature)) walkState(st.fullWay, "");
    }
    if (states_.size() > kMaxStates) faults_.push_back("more states than the walk allows");
    return faults_;
  }

  std::size_t States() const { return states_.size(); }
  long Actions() const { return actions_; }

 private:
  // Every action of the repertoire on every control of the state's top form.
  // False, having walked nothing, when `prefix` leads elsewhere than
  // `expected` (any state will do for an empty one).
  bool walkState(const std::vector<std::string>& prefix, const std::string& expected) {
    bool elsewhere = false;
    std::deque<Work> todo;
    bool listed = false;
    std::string home;
    while (!listed || !todo.empty()) {
      Work current;
      bool thenPending = false;
      std::vector<MsgButtons> boxes;
      bool prefixDone = false;
      bool ranSincePrefix = false;
      std::size_t workStart = 0;
      scenario::Session* session = nullptr;
      scenario::SessionOptions o;
      o.nextLine = [&]() -> std::optional<std::string> {
        scenario::Session& s = *session;
        if (!prefixDone) {
          prefixDone = true;
          home = Signature(s);
          if (!expected.empty() && home != expected) {
            elsewhere = true;
            return std::nullopt;
          }
          seen_.insert(home);
          if (!listed) {
            listed = true;
            list(s, todo);
          }
        } else {
          ++actions_;
          if (db_->RecordWrites() != 0) {
            faults_.push_back("a consultation user wrote: " + lastLine(s));
            return std::nullopt;
          }
          const std::string now = Signature(s);
          if (now == home && thenPending) {
            thenPending = false;
            return current.then;
          }
          // Alternative answers to the boxes of the work just run.
          const std::vector<int>& plan = current.plan;
          for (std::size_t b = plan.size(); b < boxes.size(); ++b) {
            for (int alt = 1; alt < static_cast<int>(Buttons(boxes[b]).size()); ++alt) {
              std::vector<int> other(b, 0);  // the boxes before keep their choice
              std::copy(plan.begin(), plan.end(), other.begin());
              other.push_back(alt);
              todo.push_front({current.line, other, current.then});
            }
          }
          if (now != home) {
            if (seen_.insert(now).second && !s.HostUnloaded()) {
              // Reached again from this state's own start when the work
              // alone led there; else through everything this run did.
              std::vector<std::string> shortWay = prefix;
              for (std::size_t i = workStart; i < s.Lines().size(); ++i) {
                shortWay.push_back(s.Lines()[i].text);
              }
              states_.push_back({now, shortWay, linesOf(s)});
            }
            return std::nullopt;  // another state: start again from the prefix
          }
        }
        if (todo.empty() || s.HostUnloaded()) return std::nullopt;
        // An edit and a button start from the state as reached, untouched.
        if (!todo.front().then.empty() && ranSincePrefix) return std::nullopt;
        ranSincePrefix = true;
        workStart = s.Lines().size();
        current = todo.front();
        todo.pop_front();
        thenPending = !current.then.empty();
        boxes.clear();
        return current.line;
      };
      o.answer = [&](std::string_view, MsgButtons b) {
        const std::size_t i = boxes.size();
        boxes.push_back(b);
        const int choice = i < current.plan.size() ? current.plan[i] : 0;
        return Buttons(b)[static_cast<std::size_t>(choice) % Buttons(b).size()];
      };
      std::vector<scenario::ScriptLine> lines;
      for (const std::string& l : prefix) {
        lines.push_back({static_cast<int>(lines.size()) + 1, l, scenario::ParseLine(l), false});
      }
      std::ostringstream out, err;
      scenario::Session s("audit", std::move(lines), db_, o, out, err);
      session = &s;
      const bool passed = s.Run();
      if (elsewhere) return false;
      if (!passed) {
        const std::string& m = s.failure()->message;
        // Leaving a modal form open to start again is how the walk goes on.
        if (m.find("is still shown at the end") == std::string::npos) {
          faults_.push_back(s.Report());
        }
      }
      if (!prefixDone) {
        faults_.push_back("the way to a state no longer leads there:\n" + lastLine(s));
        return true;
      }
    }
    return true;
  }

  // The repertoire on every control of the topmost form, and on its surface:
  // the buttons' actions last, so that the edits made before them are
  // there when a button could save them. On a modal form, whose buttons
  // close it, each edit is also followed at once by each button.
  static void list(scenario::Session& s, std::deque<Work>& todo) {
    const Form& top = *s.Forms().back();
    const bool surface = s.Forms().size() == 1;
    std::vector<std::string> edits, commits, buttons;
    if (surface) edits = ActionsOnSurface();
    for (const auto& c : top.AllControls()) {
      const bool button = c->kind() == forms::Kind::Button;
      const std::string name = ScenarioName(top, *c, surface);
      for (const std::string& a : ActionsOn(*c, name)) (button ? commits : edits).push_back(a);
      if (button) {
        buttons.push_back("click " + name);
        buttons.push_back("key " + name + " {ENTER}");
      }
    }
    for (const std::string& a : edits) todo.push_back({a, {}, {}});
    for (const std::string& a : commits) todo.push_back({a, {}, {}});
    if (surface) return;
    for (const std::string& e : edits) {
      for (const std::string& b : buttons) todo.push_back({e, {}, b});
    }
  }

  // The lines run so far, answers included: they lead to the state now shown.
  static std::vector<std::string> linesOf(scenario::Session& s) {
    std::vector<std::string> out;
    for (const scenario::ScriptLine& l : s.Lines()) out.push_back(l.text);
    return out;
  }
  static std::string lastLine(scenario::Session& s) {
    std::string all;
    for (const scenario::ScriptLine& l : s.Lines()) all += l.text + "\n";
    return all;
  }

  std::shared_ptr<dba::Database> db_;
  struct State {
    std::string signature;
    std::vector<std::string> shortWay, fullWay;
  };
  std::deque<State> states_;
  std::set<std::string> seen_;
  std::vector<std::string> faults_;
  long actions_ = 0;
};

class RightsAuditTest : public ::testing::TestWithParam<const char*> {
 protected:
  RightsAuditTest() { demo::SeedDemo(*dba::Database::Open(path_, {.create = true})); }

  tools_test::TempDir dir_;
  std::string path_ = dir_.File("demo.mvdb");
};

// GIVEN the demo database, closed
// WHEN a consultation user walks every action in every state it can reach
// THEN no action wrote, and the closed file and its log are unchanged
TEST_P(RightsAuditTest, EveryActionInEveryStateLeavesTheDatabaseUnchanged) {
  const std::string before = Bytes(path_);
  const bool walBefore = fs::exists(path_ + "-wal");
  std::vector<std::string> faults;
  std::size_t states = 0;
  long actions = 0;
  {
    auto db = dba::Database::Open(path_);
    std::ostringstream notes;
    demo::RegisterPostWriteRoutine(*db, notes);
    RightsAudit audit(db);
    faults = audit.Walk({GetParam(), "init"});
    states = audit.States();
    actions = audit.Actions();
  }
  for (const std::string& f : faults) ADD_FAILURE() << f;
  // The walk reached the centres, the rate editor and the bank dialog.
  EXPECT_GE(states, 10u);
  EXPECT_GE(actions, 5000);
  EXPECT_EQ(Bytes(path_), before) << "the database file changed";
  EXPECT_EQ(fs::exists(path_ + "-wal") && !Bytes(path_ + "-wal").empty(), walBefore)
      << "the write-ahead log holds changes";
  std::cout << GetParam() << ": " << states << " states, " << actions << " actions\n";
}

std::string UserName(const ::testing::TestParamInfo<const char*>& p) {
  return p.index == 0 ? "DemoUserConsult" : "Level0";
}

// The demo's consultation user (level 1 from the rights file) and a level
// given by the host that is not 2 either.
INSTANTIATE_TEST_SUITE_P(ConsultationUsers, RightsAuditTest,
                         ::testing::Values("user consult", "niveau 0"), UserName);

}  // namespace
}  // namespace monkey
