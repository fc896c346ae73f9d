// Session: the cursor over the scenario lines, the host's part (rights,
// init), the user's actions, modal forms and message-box answers.
// Scenario runner (src/tools/scenario, no Qt).
#include "scenario_session.h"

#include <algorithm>
#include <deque>
#include <ostream>
#include <sstream>

#include "components/aide/aide_html.h"
#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "morvanel/hosting/close_query.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "morvanel/state/library_state.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"
#include "scenario_services.h"
#include "scenario_values.h"

namespace scenario {

using forms::MsgAnswer;
using forms::MsgButtons;
using forms::MsgIcon;

namespace {

// Thrown once a failure is recorded, to leave the action being run. Not a
// std::exception, so that the logic's handlers for ordinary errors let it by.
struct Stop {};

}  // namespace

Session::Session(std::string file, std::vector<ScriptLine> lines, std::shared_ptr<dba::Database> db,
                 SessionOptions options, std::ostream& out, std::ostream& err)
    : file_(std::move(file)),
      lines_(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end())),
      db_(std::move(db)),
      options_(std::move(options)),
      out_(out),
      err_(err),
      services_(std::make_unique<ScriptServices>(*this)) {
  services_->SetModalDriver([this](forms::Form& form) { driveModal(form); });
  control_ = std::make_unique<morvanel::shell::Ctr_Urssaf>(*services_);
  components::AideHtml& aide = control_->Library().AideHtml();
  aide.SetHelpWindow(&helpWindow_);
  if (!options_.helpDir.empty()) aide.SetDossierAide(options_.helpDir);
  forms_.push_back(&control_->Controls());
  if (options_.screen) screen_ = options_.screen(*control_, *services_);
}

Session::~Session() {
  // The help viewer belongs to the library and outlives this session's window.
  components::AideHtml& aide = control_->Library().AideHtml();
  screen_.reset();
  control_.reset();
  aide.SetHelpWindow(nullptr);
}

bool Session::Run() {
  try {
    while (cursor_ < lines_.size() || pull()) step();
  } catch (const Stop&) {
  }
  if (!failure_ && services_->Unused() > 0) {
    err_ << "warning: " << file_ << ": " << services_->Unused()
         << " queued answer(s) never used by a message box\n";
  }
  return !failure_;
}

void Session::step() {
  const ScriptLine& line = lines_[cursor_++];
  if (line.consumed || !line.command) return;
  running_.push_back(&line);
  struct Pop {
    std::vector<const ScriptLine*>& v;
    ~Pop() { v.pop_back(); }
  } pop{running_};
  if (options_.verbose) out_ << file_ << ":" << line.number << ": " << line.text << "\n";
  try {
    execute(line, *line.command);
    if (options_.afterAction && line.command->IsAction()) {
      if (auto broken = options_.afterAction(line)) fail(std::move(*broken));
    }
  } catch (const Stop&) {
    throw;
  } catch (const std::exception& e) {
    fail(std::string("error: ") + e.what());
  }
  // A handler of the logic may have swallowed the Stop.
  if (failure_) throw Stop{};
}

bool Session::pull() {
  if (!options_.nextLine) return false;
  std::optional<std::string> text = options_.nextLine();
  if (!text) return false;
  ScriptLine l;
  l.number = static_cast<int>(lines_.size()) + 1;
  l.command = ParseLine(*text);  // a made-up line that is no command is a fault of its maker
  l.text = std::move(*text);
  lines_.push_back(std::move(l));
  return true;
}

void Session::execute(const ScriptLine& /*line*/, const Command& c) {
  switch (c.verb) {
    case Verb::User:
    case Verb::Niveau:
      if (initialised_) fail("the rights are given before init");
      if (c.verb == Verb::User) {
        droits_ = components::DroitsUtilisateur::DepuisBase(*db_, c.name);
        user_ = c.name;
      } else {
        droits_ = components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", c.number}});
      }
      return;
    case Verb::Init: init(); return;
    case Verb::Answer: services_->Queue({c.answer, c.answerDefault}); return;
    case Verb::Dump: dump(c); return;
    case Verb::DbWrite:
    case Verb::DbDelete: otherWorkstation(c); return;
    case Verb::DbDropSession: dropSession(); return;
    default: break;
  }
  if (c.IsExpectation()) {
    check(c);
    messagesAtLastCheck_ = services_->messages().size();
    return;
  }
  perform(c);
}

void Session::init() {
  if (initialised_) fail("init has already run for this control");
  // Everyone may use the screen unless the scenario says otherwise.
  if (!droits_) droits_ = components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}});
  control_->TheDatabase(db_);
  control_->TheClient(
      std::make_shared<components::Client>("DEMO", "Société de démonstration", user_));
  control_->DroitsUtilisateur(droits_);
  initialised_ = true;
  control_->Init();
}

Target Session::resolveForAction(const std::string& name) {
  if (name.empty()) {  // close-window: the host's window, not a control
    if (!initialised_) fail("init has not run: the host gives the control its objects first");
    return {forms_.front(), nullptr};
  }
  if (!initialised_) fail("init has not run: the host gives the control its objects first");
  const Target t = Resolve(name, forms_);
  if (t.form != forms_.back()) {
    fail(name + " is on " + t.form->Name() + " but the modal form " + forms_.back()->Name() +
         " is shown: the user can only act on it");
  }
  return t;
}

void Session::perform(const Command& c) {
  const Target t = resolveForAction(c.name);
  forms::UserInput input(*t.form, *services_);
  if (t.control == nullptr && c.verb != Verb::RightClick && c.verb != Verb::Click &&
      c.verb != Verb::CloseWindow) {
    fail(c.name + " is a form, not a control");
  }
  if (c.verb == Verb::CloseWindow && forms_.size() > 1) {
    fail("the modal form " + forms_.back()->Name() + " is shown: the host window waits for it");
  }
  if (c.verb == Verb::Pick && (c.number < 0 || c.number >= t.control->ListCount())) {
    fail(c.name + " has no entry " + std::to_string(c.number),
         "0.." + std::to_string(t.control->ListCount() - 1), std::to_string(c.number));
  }
  if (c.verb == Verb::DblClick && c.number < 0 && t.control->ListIndex() < 0) {
    fail("no line of " + c.name + " is selected: give the line's index");
  }
  if (screen_) {
    if (!screen_->Perform(c, t))
      note(c.name + " takes no input (disabled or hidden): nothing happened");
    return;
  }
  if (!performHeadless(c, t, input)) {
    note(c.name + " takes no input (disabled or hidden): nothing happened");
  }
}

bool Session::performHeadless(const Command& c, const Target& t, forms::UserInput& input) {
  bool done = false;
  switch (c.verb) {
    case Verb::Type: done = input.Type(*t.control, c.text); break;
    case Verb::Key:
      if (c.number <= kKeyUp) return moveKey(c, *t.control, input);
      done = c.number == kKeyDelete ? input.Delete(*t.control)
             : c.number == kKeyHelp ? input.Help(*t.control)
                                    : input.Key(*t.control, c.number);
      break;
    case Verb::Focus: done = input.Focus(*t.control); break;
    case Verb::Click:
      done = t.control ? input.Click(*t.control) : input.MouseDown(nullptr, forms::kMouseLeft);
      break;
    case Verb::RightClick: done = input.MouseDown(t.control, forms::kMouseRight); break;
    case Verb::DblClick:
      done = input.DblClick(*t.control, c.number >= 0 ? c.number : t.control->ListIndex());
      break;
    case Verb::Pick: done = input.Pick(*t.control, c.number); break;
    case Verb::Scroll: done = input.Scroll(*t.control, c.number); break;
    case Verb::CloseWindow:
      if (morvanel::hosting::QueryClose(*control_, *services_) && options_.verbose) {
        out_ << "host window closed\n";
      }
      return true;
    case Verb::Wheel: note("without --qt no line is drawn: the wheel moves nothing"); return true;
    default: break;
  }
  return done;
}

// Without a screen only a list's selection moves: by one line, or to its
// first or last line (a page is a screen's notion).
bool Session::moveKey(const Command& c, forms::Control& control, forms::UserInput& input) {
  if (control.kind() != forms::Kind::ListBox) {
    note("without --qt " + c.text + " moves only a list's selection");
    return true;
  }
  const int last = control.ListCount() - 1;
  int index = control.ListIndex();
  switch (c.number) {
    case kKeyUp: index = std::max(0, index - 1); break;
    case kKeyDown: index = std::min(last, index + 1); break;
    case kKeyHome: index = 0; break;
    case kKeyEnd: index = last; break;
    default: note("without --qt " + c.text + " has no page to move by"); return true;
  }
  if (last < 0 || index == control.ListIndex()) return true;
  return input.Pick(control, index);
}

void Session::driveModal(forms::Form& form) {
  forms_.push_back(&form);
  struct Pop {
    std::vector<forms::Form*>& v;
    ~Pop() { v.pop_back(); }
  } pop{forms_};
  if (options_.verbose) out_ << "modal form " << form.Name() << " shown\n";
  if (options_.modalShown) options_.modalShown(form);
  const auto drive = [&] {
    while (!form.IsUnloaded()) {
      if (cursor_ >= lines_.size() && !pull()) {
        fail("the modal form " + form.Name() + " is still shown at the end of the scenario");
      }
      step();
    }
  };
  if (screen_) {
    screen_->ShowModal(form, drive);
  } else {
    drive();
  }
  if (options_.verbose) out_ << "modal form " << form.Name() << " closed\n";
}

Reply Session::AnswerFor(std::string_view text, MsgButtons buttons) {
  for (std::size_t i = cursor_; i < lines_.size(); ++i) {
    ScriptLine& l = lines_[i];
    if (l.consumed || !l.command || l.command->verb == Verb::ExpectMsg) continue;
    if (l.command->verb == Verb::Answer &&
        (l.command->answerDefault || Fits(l.command->answer, buttons))) {
      l.consumed = true;
      return {l.command->answer, l.command->answerDefault};
    }
    break;
  }
  if (buttons == MsgButtons::OK) return {MsgAnswer::OK};
  if (options_.answer) {
    const MsgAnswer a = options_.answer(text, buttons);
    ScriptLine l;
    l.number = static_cast<int>(lines_.size()) + 1;
    l.text = std::string("answer ") + (a == MsgAnswer::Yes      ? "Oui"
                                       : a == MsgAnswer::No     ? "Non"
                                       : a == MsgAnswer::Cancel ? "Annuler"
                                                                : "OK");
    l.command = ParseLine(l.text);
    l.consumed = true;
    lines_.push_back(std::move(l));
    return {a};
  }
  fail("message box \"" + std::string(text) + "\" (" + forms::headless::ButtonsName(buttons) +
       ") has no answer: write \"answer Oui|Non|Annuler\" before the action or just after it");
}

void Session::WrongAnswer(std::string_view text, MsgButtons buttons, MsgAnswer answer) {
  fail("message box \"" + std::string(text) + "\" (" + forms::headless::ButtonsName(buttons) +
       ") cannot be answered " + forms::headless::AnswerName(answer));
}

void Session::ParentUnloaded() {
  hostUnloaded_ = true;
  if (screen_) screen_->HostUnloaded();
  if (options_.verbose) out_ << "host form unloaded\n";
}

void Session::fail(std::string message, std::optional<std::string> expected,
                   std::optional<std::string> actual) {
  if (!failure_) {
    Failure f;
    if (!running_.empty()) {
      f.line = running_.back()->number;
      f.lineText = running_.back()->text;
    }
    f.message = std::move(message);
    f.expected = std::move(expected);
    f.actual = std::move(actual);
    failure_ = std::move(f);
  }
  throw Stop{};
}

void Session::note(const std::string& text) {
  const int line = running_.empty() ? 0 : running_.back()->number;
  err_ << file_ << ":" << line << ": note: " << text << "\n";
}

std::string Session::Report() const {
  if (!failure_) return {};
  std::ostringstream s;
  s << file_ << ":" << failure_->line << ": " << failure_->lineText << "\n";
  s << "  " << failure_->message << "\n";
  if (failure_->expected) s << "  expected: " << *failure_->expected << "\n";
  if (failure_->actual) s << "  actual:   " << *failure_->actual << "\n";
  return s.str();
}

}  // namespace scenario
