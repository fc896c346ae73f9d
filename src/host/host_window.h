// HostWindow: the payroll application's window that the demo host shows:
// a menu bar, a line naming the client and the user, and the control's
// surface drawn by QtFormView. Demo host (src/host, Qt Widgets).
#pragma once

#include <functional>

#include <QMainWindow>
#include <QString>

#include "forms/form.h"
#include "forms/qt/qt_form_view.h"
#include "forms/services.h"

namespace host {

class HostWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `form` and `services` are not owned; both must outlive the window.
  // `header` is the line shown above the control.
  HostWindow(forms::Form& form, forms::Services& services, const QString& header,
             QWidget* parent = nullptr);

  [[nodiscard]] forms::qt::QtFormView& view() { return *view_; }
  // Asked before the window closes by the close box or "Quitter": false
  // keeps it open. The control's exit path (morvanel::hosting::QueryClose)
  // goes here, so leaving this way asks what "Sortir" asks.
  void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }

 signals:
  // The window was closed: by "Sortir" (the control unloads its host form),
  // by the menu or by the window's close box.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  forms::qt::QtFormView* view_;  // child of the window
  std::function<bool()> closeQuery_;
  bool leaving_ = false;  // agreed once: the control's own unload closes again
};

}  // namespace host
