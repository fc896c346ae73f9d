// ScriptServices: the headless platform services with a scenario's answers
// to message boxes. Scenario runner (src/tools/scenario, no Qt); private to
// the session.
#pragma once

#include <deque>

#include "forms/headless/headless_services.h"
#include "scenario_session.h"

namespace scenario {

// True when `answer` is one of the buttons of a box.
[[nodiscard]] inline bool Fits(forms::MsgAnswer answer, forms::MsgButtons buttons) {
  using forms::MsgAnswer;
  using forms::MsgButtons;
  switch (buttons) {
    case MsgButtons::OK: return answer == MsgAnswer::OK;
    case MsgButtons::YesNo: return answer == MsgAnswer::Yes || answer == MsgAnswer::No;
    case MsgButtons::YesNoCancel: return answer != MsgAnswer::OK;
  }
  return false;
}

// Keeps its own queue of answers, so that an answer is checked against the
// box before the box is recorded, and asks the session when it is empty.
class ScriptServices final : public forms::headless::HeadlessServices {
 public:
  explicit ScriptServices(Session& session) : session_(session) {}

  void Queue(forms::MsgAnswer answer) { queued_.push_back(answer); }
  [[nodiscard]] std::size_t Unused() const { return queued_.size(); }

  forms::MsgAnswer MsgBox(std::string_view text, forms::MsgButtons buttons, forms::MsgIcon icon,
                          std::string_view title) override {
    forms::MsgAnswer answer;
    if (!queued_.empty()) {
      answer = queued_.front();
      queued_.pop_front();
    } else {
      answer = session_.AnswerFor(text, buttons);
    }
    if (!Fits(answer, buttons)) session_.WrongAnswer(text, buttons, answer);
    QueueAnswer(answer);
    return HeadlessServices::MsgBox(text, buttons, icon, title);
  }

  void UnloadParentForm() override {
    HeadlessServices::UnloadParentForm();
    session_.ParentUnloaded();
  }

 private:
  Session& session_;
  std::deque<forms::MsgAnswer> queued_;
};

}  // namespace scenario
