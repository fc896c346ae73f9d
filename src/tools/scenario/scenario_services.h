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

  void Queue(Reply reply) { queued_.push_back(reply); }
  [[nodiscard]] std::size_t Unused() const { return queued_.size(); }

  forms::MsgAnswer MsgBox(std::string_view text, forms::MsgButtons buttons, forms::MsgIcon icon,
                          std::string_view title) override {
    Reply reply;
    if (!queued_.empty()) {
      reply = queued_.front();
      queued_.pop_front();
    } else {
      reply = session_.AnswerFor(text, buttons);
    }
    if (!reply.enter && !Fits(reply.answer, buttons))
      session_.WrongAnswer(text, buttons, reply.answer);
    forms::MsgAnswer answer = reply.enter ? forms::DefaultAnswer(text, buttons) : reply.answer;
    if (Screen* screen = session_.screen()) {
      answer = screen->Answer(text, buttons, icon, title,
                              reply.enter ? std::nullopt : std::optional(reply.answer));
    }
    QueueAnswer(answer);
    return HeadlessServices::MsgBox(text, buttons, icon, title);
  }

  void DoEvents() override {
    HeadlessServices::DoEvents();
    if (Screen* screen = session_.screen()) screen->Settle();
  }

  void UnloadParentForm() override {
    HeadlessServices::UnloadParentForm();
    session_.ParentUnloaded();
  }

 private:
  Session& session_;
  std::deque<Reply> queued_;
};

}  // namespace scenario
