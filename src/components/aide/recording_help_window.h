// RecordingHelpWindow: a help window that draws nothing and records what it
// was asked to show, for tests and the headless scenario runner.
// Outside components, help viewer (no Qt).
#pragma once

#include <string>
#include <vector>

#include "components/aide/help_window.h"

namespace components {

class RecordingHelpWindow : public HelpWindow {
 public:
  struct Shown {
    std::string path;     // the page, or "" for a message
    std::string message;  // the message, or "" for a page
    std::string title;
  };

  void ShowPage(const std::string& htmlPath, const std::string& title) override;
  void ShowMessage(const std::string& text, const std::string& title) override;
  void Close() override;

  [[nodiscard]] const std::vector<Shown>& History() const { return shown_; }
  [[nodiscard]] bool IsOpen() const { return open_; }
  [[nodiscard]] int Closes() const { return closes_; }

 private:
  std::vector<Shown> shown_;
  bool open_ = false;
  int closes_ = 0;
};

}  // namespace components
