// QtHelpWindow: the help window of the Qt binding, a resizable top-level
// window holding a QTextBrowser. Outside components, help viewer, Qt
// binding (the only place of the components that includes Qt).
#pragma once

#include <QPointer>
#include <string>

#include "components/aide/help_window.h"

class QTextBrowser;
class QWidget;

namespace components::qt {

class QtHelpWindow : public HelpWindow {
 public:
  QtHelpWindow();
  ~QtHelpWindow() override;
  QtHelpWindow(const QtHelpWindow&) = delete;
  QtHelpWindow& operator=(const QtHelpWindow&) = delete;

  void ShowPage(const std::string& htmlPath, const std::string& title) override;
  void ShowMessage(const std::string& text, const std::string& title) override;
  void Close() override;

  // The window, created on first use; nullptr before, or once the user's
  // desktop destroyed it.
  [[nodiscard]] QWidget* Window() const { return window_; }
  [[nodiscard]] QTextBrowser* Browser() const { return browser_; }

 private:
  void ensureWindow(const std::string& title);

  // The window has no parent (it is a top-level window of its own); this
  // object owns it and deletes it on destruction.
  QPointer<QWidget> window_;
  QPointer<QTextBrowser> browser_;
};

}  // namespace components::qt
