// HeadlessServices: the platform services without a screen, for tests and
// the scenario runner. Records every message box, beep, pointer change,
// pop-up menu, help call and modal form, and answers message boxes from a
// queue. Headless binding of the named-controls layer.
//
//   HeadlessServices services;
//   services.QueueAnswer(MsgAnswer::Yes);          // the next box gets "Yes"
//   services.SetModalDriver([&](Form& f) { ... UserInput(f, services).Click(...); });
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/services.h"

namespace forms::headless {

// A message box nobody expected: no answer was queued for it, or the answer
// queued is none of its buttons. The text of the box is in what().
class UnexpectedMessage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A modal form shown without a driver, or left loaded by its driver: on a
// real screen it would wait for ever.
class ModalNotClosed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct MessageRecord {
  std::string text;
  MsgButtons buttons;
  MsgIcon icon;
  std::string title;
  std::optional<MsgAnswer> answer;  // nullopt: the box was refused (UnexpectedMessage)
};

struct PopupRecord {
  std::string menu;  // path of the Menu control
  float x, y;
};

struct HelpRecord {
  std::string file;
  int context;
};

struct ProgressRecord {
  std::string text;
  int done;
  int total;
};

struct HelpPageRecord {
  std::string path;
  std::string title;
};

class HeadlessServices : public Services {
 public:
  // --- set up by the test or the runner ---------------------------------------
  void QueueAnswer(MsgAnswer answer) { answers_.push_back(answer); }
  // The answer of boxes found with an empty queue. nullopt (the default):
  // such a box throws UnexpectedMessage. An answer that is not one of the
  // box's buttons stands for the box's first button (OK or Yes).
  void SetDefaultAnswer(std::optional<MsgAnswer> answer) { defaultAnswer_ = answer; }
  // Performs the user's actions on a modal form until it is unloaded.
  void SetModalDriver(std::function<void(Form&)> driver) { modalDriver_ = std::move(driver); }
  [[nodiscard]] std::size_t pendingAnswers() const { return answers_.size(); }

  // --- what happened ----------------------------------------------------------
  [[nodiscard]] const std::vector<MessageRecord>& messages() const { return messages_; }
  std::vector<MessageRecord> takeMessages();
  [[nodiscard]] int beeps() const { return beeps_; }
  [[nodiscard]] MousePointer mousePointer() const { return pointer_; }
  [[nodiscard]] const std::vector<MousePointer>& pointerHistory() const { return pointers_; }
  [[nodiscard]] int doEvents() const { return doEvents_; }
  [[nodiscard]] const std::vector<PopupRecord>& popups() const { return popups_; }
  [[nodiscard]] const std::vector<HelpRecord>& helpTopics() const { return helpTopics_; }
  [[nodiscard]] const std::vector<std::string>& helpClosed() const { return helpClosed_; }
  [[nodiscard]] const std::vector<HelpPageRecord>& helpPages() const { return helpPages_; }
  [[nodiscard]] int parentUnloads() const { return parentUnloads_; }
  [[nodiscard]] const std::vector<std::string>& modalForms() const { return modalForms_; }
  [[nodiscard]] const std::vector<ProgressRecord>& progress() const { return progress_; }

  // --- Services ---------------------------------------------------------------
  MsgAnswer MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                   std::string_view title) override;
  void Beep() override { ++beeps_; }
  void SetMousePointer(MousePointer pointer) override;
  void DoEvents() override { ++doEvents_; }
  void PopupMenu(Control& menu, float x, float y) override;
  void ShowModal(Form& form) override;
  void ShowHelpTopic(const std::string& helpFile, int context) override;
  void CloseHelp(const std::string& helpFile) override { helpClosed_.push_back(helpFile); }
  void ShowHelpPage(const std::string& htmlPath, const std::string& title) override {
    helpPages_.push_back({htmlPath, title});
  }
  void UnloadParentForm() override { ++parentUnloads_; }
  void Progress(std::string_view text, int done, int total) override {
    progress_.push_back({std::string(text), done, total});
  }

 private:
  std::deque<MsgAnswer> answers_;
  std::optional<MsgAnswer> defaultAnswer_;
  std::function<void(Form&)> modalDriver_;
  std::vector<MessageRecord> messages_;
  int beeps_ = 0;
  MousePointer pointer_ = MousePointer::Default;
  std::vector<MousePointer> pointers_;
  int doEvents_ = 0;
  std::vector<PopupRecord> popups_;
  std::vector<HelpRecord> helpTopics_;
  std::vector<std::string> helpClosed_;
  std::vector<HelpPageRecord> helpPages_;
  int parentUnloads_ = 0;
  std::vector<std::string> modalForms_;
  std::vector<ProgressRecord> progress_;
};

// Names used in reports and dumps.
const char* ButtonsName(MsgButtons buttons);
const char* IconName(MsgIcon icon);
const char* AnswerName(MsgAnswer answer);

}  // namespace forms::headless
