// HeadlessServices: recorded message boxes answered from a queue, modal
// forms run by a driver. Headless binding of the named-controls layer.
#include "forms/headless/headless_services.h"

#include <algorithm>

#include "forms/control.h"
#include "forms/form.h"

namespace forms::headless {

namespace {
bool IsButtonOf(MsgAnswer answer, MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OK: return answer == MsgAnswer::OK;
    case MsgButtons::YesNo: return answer == MsgAnswer::Yes || answer == MsgAnswer::No;
    case MsgButtons::YesNoCancel: return answer != MsgAnswer::OK;
  }
  return false;
}

MsgAnswer FirstButton(MsgButtons buttons) {
  return buttons == MsgButtons::OK ? MsgAnswer::OK : MsgAnswer::Yes;
}
}  // namespace

const char* ButtonsName(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OK: return "OK";
    case MsgButtons::YesNo: return "YesNo";
    case MsgButtons::YesNoCancel: return "YesNoCancel";
  }
  return "?";
}

const char* IconName(MsgIcon icon) {
  return icon == MsgIcon::Information ? "Information" : "Exclamation";
}

const char* AnswerName(MsgAnswer answer) {
  switch (answer) {
    case MsgAnswer::OK: return "OK";
    case MsgAnswer::Yes: return "Yes";
    case MsgAnswer::No: return "No";
    case MsgAnswer::Cancel: return "Cancel";
  }
  return "?";
}

MsgAnswer HeadlessServices::MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                   std::string_view title) {
  messages_.push_back({std::string(text), buttons, icon, std::string(title), std::nullopt});
  MessageRecord& record = messages_.back();
  if (!answers_.empty()) {
    const MsgAnswer answer = answers_.front();
    if (!IsButtonOf(answer, buttons)) {
      throw UnexpectedMessage("message box \"" + record.text + "\" (" + ButtonsName(buttons) +
                              ") cannot be answered " + AnswerName(answer));
    }
    answers_.pop_front();
    record.answer = answer;
    return answer;
  }
  if (!defaultAnswer_) {
    throw UnexpectedMessage("unexpected message box \"" + record.text + "\" (" +
                            ButtonsName(buttons) + ", title \"" + record.title + "\")");
  }
  const MsgAnswer answer =
      IsButtonOf(*defaultAnswer_, buttons) ? *defaultAnswer_ : FirstButton(buttons);
  record.answer = answer;
  return answer;
}

std::vector<MessageRecord> HeadlessServices::takeMessages() {
  std::vector<MessageRecord> taken;
  taken.swap(messages_);
  return taken;
}

void HeadlessServices::SetMousePointer(MousePointer pointer) {
  pointer_ = pointer;
  pointers_.push_back(pointer);
}

void HeadlessServices::PopupMenu(Control& menu, float x, float y) {
  // Does not wait: the test clicks an item afterwards, if it wants one.
  popups_.push_back({menu.Path(), x, y});
}

void HeadlessServices::ShowModal(Form& form) {
  modalForms_.push_back(form.Name());
  if (!modalDriver_) {
    throw ModalNotClosed("modal form " + form.Name() + " shown with no modal driver to close it");
  }
  const auto driver = modalDriver_;  // the driver may set another one
  driver(form);
  if (!form.IsUnloaded()) {
    throw ModalNotClosed("modal form " + form.Name() +
                         " is still loaded after its driver returned");
  }
}

void HeadlessServices::ShowHelpTopic(const std::string& helpFile, int context) {
  helpTopics_.push_back({helpFile, context});
}

}  // namespace forms::headless
