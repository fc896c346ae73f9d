// ModalDialog: the window of a modal form. It shows the form's QtFormView
// at the form's size with the form's caption, runs until the form is
// unloaded, and lets its close box (and Escape) close it only when the
// form's unload query agrees.
// Qt binding of the named-controls layer (src/forms/qt).
#pragma once

#include <QDialog>

#include "forms/form.h"

namespace forms {
class Services;
}

namespace forms::qt {

class QtFormView;

class ModalDialog : public QDialog {
  Q_OBJECT

 public:
  // Does not take ownership of `form` or `services`.
  ModalDialog(Form& form, Services& services, QWidget* parent = nullptr);

  // Shows the dialog until the form is unloaded. Returns at once when the
  // form is unloaded already.
  void Run();

  [[nodiscard]] QtFormView& view() const { return *view_; }

 public slots:
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The close box's request, put to the form's unload query.
  void requestClose();
  void updateCaption();

  Form& form_;
  QtFormView* view_;  // child widget
};

}  // namespace forms::qt
