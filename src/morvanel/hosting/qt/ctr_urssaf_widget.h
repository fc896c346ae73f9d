// CtrUrssafWidget: the URSSAF centres control as a Qt widget a form places,
// in code or from Qt Designer. It creates the control by its class name
// (through the registries) and draws its screen; the host then gives it what
// it needs through control(). Qt side of creation by name.
//
//   auto* w = new morvanel::hosting::qt::CtrUrssafWidget(parent);
//   if (morvanel::ICtrUrssaf* c = w->control()) {
//     c->TheDatabase(db); c->TheClient(client); c->DroitsUtilisateur(d); c->Init();
//   }
#pragma once

#include <memory>
#include <string>

#include <QWidget>

#include "forms/qt/qt_services.h"
#include "morvanel/interface/ictr_urssaf.h"

namespace forms::qt {
class QtFormView;
}

namespace morvanel::hosting::qt {

class CtrUrssafWidget : public QWidget {
  Q_OBJECT

 public:
  // Never throws: when the control cannot be created (not registered, a
  // refused library), the widget says why in place of the screen, so that a
  // form still opens, in Designer too.
  explicit CtrUrssafWidget(QWidget* parent = nullptr);
  ~CtrUrssafWidget() override;
  CtrUrssafWidget(const CtrUrssafWidget&) = delete;
  CtrUrssafWidget& operator=(const CtrUrssafWidget&) = delete;

  // The control, nullptr when it could not be created (see error()).
  [[nodiscard]] ICtrUrssaf* control() const { return control_.get(); }
  [[nodiscard]] const std::string& error() const { return error_; }
  // The platform the control talks to: message boxes, modal forms, help.
  [[nodiscard]] forms::qt::QtServices& services() { return services_; }

 private:
  // Declared first: the control and its view go before it.
  forms::qt::QtServices services_;
  std::unique_ptr<ICtrUrssaf> control_;
  forms::qt::QtFormView* view_ = nullptr;
  std::string error_;
};

}  // namespace morvanel::hosting::qt
