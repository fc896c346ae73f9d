// RecordingHelpWindow: records the pages and messages asked for.
// Outside components, help viewer (no Qt).
#include "components/aide/recording_help_window.h"

namespace components {

void RecordingHelpWindow::ShowPage(const std::string& htmlPath, const std::string& title) {
  shown_.push_back({htmlPath, {}, title});
  open_ = true;
}

void RecordingHelpWindow::ShowMessage(const std::string& text, const std::string& title) {
  shown_.push_back({{}, text, title});
  open_ = true;
}

void RecordingHelpWindow::Close() {
  if (!open_) return;  // nothing to close
  open_ = false;
  ++closes_;
}

}  // namespace components
