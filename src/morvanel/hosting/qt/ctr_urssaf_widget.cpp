// The control placed as a widget: created by name, drawn by the forms
// layer's Qt view. Qt side of creation by name (morvanel_hosting_qt).
#include "morvanel/hosting/qt/ctr_urssaf_widget.h"

#include <QLabel>
#include <QVBoxLayout>

#include "forms/qt/qt_form_view.h"
#include "morvanel/hosting/hosting.h"

namespace morvanel::hosting::qt {

CtrUrssafWidget::CtrUrssafWidget(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  try {
    control_ = CreateControl(kProgIdCtrUrssaf, services_);
  } catch (const HostingError& e) {
    error_ = e.what();
    auto* label = new QLabel(QString::fromStdString(error_), this);
    label->setWordWrap(true);
    layout->addWidget(label);
    return;
  }
  view_ = new forms::qt::QtFormView(control_->Controls(), services_, this);
  services_.SetControlView(view_);
  layout->addWidget(view_);
}

CtrUrssafWidget::~CtrUrssafWidget() {
  // The view draws the control's form: it goes first, before Qt would
  // delete it with the other children, after the control is gone.
  delete view_;
}

}  // namespace morvanel::hosting::qt
