// Session: the expectations (controls, W_Sortir, message boxes, records,
// help pages, pop-up menus) and the state dump. Scenario runner (no Qt).
#include <filesystem>
#include <ostream>

#include "dba/database.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "forms/headless/headless_services.h"
#include "forms/headless/state_dump.h"
#include "scenario_services.h"
#include "scenario_session.h"
#include "scenario_values.h"
#include "shown_form.h"

namespace scenario {

void Session::check(const Command& c) {
  switch (c.verb) {
    case Verb::Expect: checkControl(c); return;
    case Verb::ExpectSortir: {
      const int actual = control_->W_Sortir();
      if (actual != c.number) {
        fail("W_Sortir differs", std::to_string(c.number), std::to_string(actual));
      }
      return;
    }
    case Verb::ExpectMsg: checkMessage(c); return;
    case Verb::ExpectNoMsg: checkNoMessage(); return;
    case Verb::ExpectRecord: checkRecord(c); return;
    case Verb::ExpectHelp: checkHelp(c); return;
    case Verb::ExpectPopup: checkPopup(c); return;
    default: return;
  }
}

void Session::checkControl(const Command& c) {
  const Target t = Resolve(c.name, forms_);
  Observed actual;
  const bool onScreen =
      c.property == Prop::TopIndex || c.property == Prop::Fits || c.property == Prop::FocusShown;
  if (onScreen) {
    if (!screen_)
      fail(std::string(PropName(c.property)) + " is read on the real window: run with --qt");
    const std::optional<Observed> seen = screen_->Read(t, c.property);
    if (!seen) fail(c.name + " has no " + PropName(c.property));
    actual = *seen;
  } else if (t.control != nullptr) {
    actual = Read(*t.control, c.property, c.number);
  } else if (c.property == Prop::Enabled) {
    actual = {ValueKind::Boolean, ShowBool(t.form->Enabled())};
  } else if (c.property == Prop::Text) {
    actual = {ValueKind::Text, t.form->Caption()};
  } else {
    fail(std::string("a form has no property ") + PropName(c.property) + " (Enabled or Caption)");
  }
  if (Matches(actual, c.text)) return;
  std::string what = c.name + "." + PropName(c.property);
  if (c.property == Prop::List) what += "(" + std::to_string(c.number) + ")";
  std::string expected = c.text;
  if (actual.kind == ValueKind::Boolean && !ParseBool(c.text)) {
    expected += " (not a Boolean: True/False, -1/0, Vrai/Faux)";
  } else if (actual.kind == ValueKind::Number && !ParseWhole(c.text)) {
    expected += " (not a whole number)";
  }
  fail(what + " differs", "\"" + expected + "\"", "\"" + actual.shown + "\"");
}

void Session::checkMessage(const Command& c) {
  const auto& messages = services_->messages();
  if (messagesChecked_ >= messages.size()) {
    fail("no message box was shown", "\"" + c.text + "\"", "(none)");
  }
  const forms::headless::MessageRecord& m = messages[messagesChecked_++];
  const std::string look = DescribeBox(m.icon, m.buttons, m.title);
  const std::string answer =
      m.answer ? forms::headless::AnswerName(*m.answer) : std::string("(no answer)");
  out_ << file_ << ":" << running_.back()->number << ": message \"" << m.text << "\" [" << look
       << "] answered " << answer << "\n";
  if (m.text != c.text) {
    fail("the message box had another text", "\"" + c.text + "\"",
         "\"" + m.text + "\" [" + look + "]");
  }
}

void Session::checkNoMessage() {
  const auto& messages = services_->messages();
  if (messages.size() > messagesAtLastCheck_) {
    const auto& m = messages[messagesAtLastCheck_];
    fail("a message box was shown since the last expectation", "(none)",
         "\"" + m.text + "\" [" + DescribeBox(m.icon, m.buttons, m.title) + "]" +
             (messages.size() - messagesAtLastCheck_ > 1
                  ? " and " + std::to_string(messages.size() - messagesAtLastCheck_ - 1) + " more"
                  : ""));
  }
}

void Session::checkRecord(const Command& c) {
  const dba::DBFile file = db_->DBOpen(c.name);
  const dba::CItem record = file.DBRead(c.text);
  std::string stored;
  switch (c.position.size()) {
    case 0: stored = record.Item(); break;
    case 1: stored = record.Item(c.position[0]); break;
    case 2: stored = record.Item(c.position[0], c.position[1]); break;
    default: stored = record.Item(c.position[0], c.position[1], c.position[2]); break;
  }
  if (stored == mvdb::FromShown(c.value)) return;
  std::string where;
  for (int n : c.position) where += (where.empty() ? "" : ".") + std::to_string(n);
  fail(
      "record " + c.name + " " + c.text + (where.empty() ? "" : " attribute " + where) + " differs",
      "\"" + c.value + "\"", "\"" + mvdb::ToShown(stored) + "\"");
}

void Session::checkHelp(const Command& c) {
  const auto& shown = helpWindow_.History();
  if (helpChecked_ >= shown.size()) fail("no help page was shown", "\"" + c.text + "\"", "(none)");
  const components::RecordingHelpWindow::Shown& h = shown[helpChecked_++];
  const std::string page =
      h.path.empty()
          ? "(message) " + h.message
          : std::filesystem::path(h.path.substr(0, h.path.find('#'))).filename().string();
  out_ << file_ << ":" << running_.back()->number << ": help page \"" << page << "\" titled \""
       << h.title << "\"\n";
  if (page != c.text) fail("another help page was shown", "\"" + c.text + "\"", "\"" + page + "\"");
}

void Session::checkPopup(const Command& c) {
  const auto& popups = services_->popups();
  if (popupsChecked_ >= popups.size()) fail("no pop-up menu was shown", c.name, "(none)");
  const auto& p = popups[popupsChecked_++];
  if (p.menu != c.name) fail("another pop-up menu was shown", c.name, p.menu);
}

void Session::dump(const Command& c) {
  forms::Form* form = forms_.back();
  if (!c.name.empty()) form = Resolve(c.name, forms_).form;
  out_ << forms::headless::StateDump(*form) << "\n";
  if (screen_) out_ << screen_->TopIndexes(*form) << "\n";
}

}  // namespace scenario
