// ModalDialog: a modal form in its own window.
// Qt binding of the named-controls layer (src/forms/qt).
#include "forms/qt/modal_dialog.h"

#include <QCloseEvent>

#include "forms/qt/error_report.h"
#include "forms/qt/qt_form_view.h"
#include "forms/qt/qt_units.h"

namespace forms::qt {

ModalDialog::ModalDialog(Form& form, Services& services, QWidget* parent)
    : QDialog(parent), form_(form), view_(new QtFormView(form, services, this)) {
  setObjectName(ToQString(form.Name()));
  setModal(true);
  setSizeGripEnabled(false);
  view_->move(0, 0);
  setFixedSize(view_->sizeHint());
  updateCaption();
  connect(view_, &QtFormView::formPropertiesChanged, this, [this] {
    setFixedSize(view_->sizeHint());
    updateCaption();
  });
  // Unloaded from code (its own buttons): the window goes with it.
  connect(view_, &QtFormView::formClosed, this, [this] { QDialog::done(QDialog::Accepted); });
}

void ModalDialog::Run() {
  if (form_.IsUnloaded()) return;
  view_->SyncFocus();
  exec();
}

void ModalDialog::updateCaption() { setWindowTitle(ToQString(form_.Caption())); }

void ModalDialog::requestClose() {
  if (form_.IsUnloaded()) return;
  try {
    view_->input().CloseBox();  // formClosed ends the dialog when agreed
  } catch (const std::exception& error) {
    ReportError(error);  // the form stays, as when its query refuses
  }
}

void ModalDialog::reject() {
  if (form_.IsUnloaded()) {
    QDialog::reject();
    return;
  }
  requestClose();
}

void ModalDialog::closeEvent(QCloseEvent* event) {
  if (!form_.IsUnloaded()) requestClose();
  if (form_.IsUnloaded()) {
    event->accept();
  } else {
    event->ignore();  // the unload query said no
  }
}

}  // namespace forms::qt
