// HelpWindow: the window the help viewer shows its pages in. Outside
// components, help viewer (no Qt). AideHtml is given one and does not own
// it; the Qt binding draws a real window, RecordingHelpWindow only records.
#pragma once

#include <string>

namespace components {

class HelpWindow {
 public:
  virtual ~HelpWindow() = default;
  // Shows the HTML page at `htmlPath` (an absolute file path, optionally
  // followed by "#anchor") in a window titled `title`, opening it if needed.
  virtual void ShowPage(const std::string& htmlPath, const std::string& title) = 0;
  // Shows a short French text instead of a page (a page that cannot be
  // found), in the same window.
  virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
  // Closes the window; a later ShowPage opens it again.
  virtual void Close() = 0;
};

}  // namespace components
