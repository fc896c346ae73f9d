// QtServices: the platform services of the logic on Qt Widgets: message
// boxes, beep, hourglass pointer, one pass of pending events, pop-up menus,
// modal forms, the help window and closing the host's window.
// Qt binding of the named-controls layer (src/forms/qt).
//
//   QtServices services;                   // before the views that use it
//   QtFormView view(form, services);
//   services.SetControlView(&view);        // whose window UnloadParentForm closes
#pragma once

#include <string>

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include "forms/services.h"

class QProgressDialog;
class QTextBrowser;

namespace forms::qt {

class QtServices : public Services {
 public:
  // Does not take ownership of `controlView`.
  explicit QtServices(QWidget* controlView = nullptr);
  ~QtServices() override;
  QtServices(const QtServices&) = delete;
  QtServices& operator=(const QtServices&) = delete;

  // The view of the control placed on the host's form: its window is the
  // one UnloadParentForm closes and the parent of message boxes.
  void SetControlView(QWidget* view) { controlView_ = view; }

  MsgAnswer MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                   std::string_view title) override;
  void Beep() override;
  void SetMousePointer(MousePointer pointer) override;
  void DoEvents() override;
  void PopupMenu(Control& menu, float x, float y) override;
  void ShowModal(Form& form) override;
  // The help file is HTML here: it opens in a window titled "Aide", at the
  // anchor named after the topic number, and stays open until CloseHelp.
  void ShowHelpTopic(const std::string& helpFile, int context) override;
  void CloseHelp(const std::string& helpFile) override;
  // The page opens in a window of its own, titled `title`, reused by the
  // next page; a missing page is said in it.
  void ShowHelpPage(const std::string& htmlPath, const std::string& title) override;
  // Closes the window holding the control's view, once the current event
  // has been handled (the view may be deleted with its window).
  void UnloadParentForm() override;
  // A progress window appears once the step has lasted one second, and
  // goes when done reaches total.
  void Progress(std::string_view text, int done, int total) override;

  // The help window while it is open; nullptr otherwise.
  [[nodiscard]] QTextBrowser* HelpWindow() const;
  // The help page's window while it is open; nullptr otherwise.
  [[nodiscard]] QTextBrowser* HelpPageWindow() const;
  // The progress window while it is shown; nullptr otherwise.
  [[nodiscard]] QProgressDialog* ProgressWindow() const;
  // How long a step runs before its progress is shown.
  static constexpr qint64 kProgressDelayMs = 1000;

 private:
  [[nodiscard]] QWidget* dialogParent() const;

  QPointer<QWidget> controlView_;
  QPointer<QTextBrowser> help_;         // owned (top-level window)
  QPointer<QTextBrowser> page_;         // owned (top-level window)
  QPointer<QProgressDialog> progress_;  // owned while a long step runs
  QElapsedTimer progressClock_;         // valid while a step reports progress
  bool hourglass_ = false;
};

}  // namespace forms::qt
