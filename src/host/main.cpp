// morvanel-host: the demo host. Stands for the payroll application: opens
// the demo database, creates the control by its class name from the
// registered control library, hands it the database, the client and the
// user's rights, calls Init, and quits once the user leaves with "Sortir".
// Demo host (src/host, Qt Widgets). Options and registry: docs/host.md.
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QImage>

#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "dba/redact.h"
#include "demo/demo_seed.h"
#include "host_options.h"
#include "host_setup.h"
#include "host_window.h"
#include "morvanel/hosting/close_query.h"
#include "morvanel/hosting/hosting.h"
#include "forms/qt/qt_services.h"
#include "version.h"

namespace {

// Without a display a screenshot is still possible on the offscreen platform.
void ChooseHeadlessPlatform(const host::HostOptions& o) {
  if (o.screenshot.empty() || std::getenv("QT_QPA_PLATFORM") != nullptr) return;
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  if ((x == nullptr || *x == '\0') && (w == nullptr || *w == '\0')) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
}

int Registration(const host::HostOptions& o) {
  const std::string library = host::LibraryBesideHost();
  if (library.empty()) {
    std::cerr << "morvanel-host: libmorvanel.so not found beside the host\n";
    return 1;
  }
  if (o.registerOnly) {
    morvanel::hosting::RegisterLibrary(library);
    std::cout << "registered " << library << "\n";
  } else {
    morvanel::hosting::UnregisterLibrary(library);
    std::cout << "unregistered " << library << "\n";
  }
  return 0;
}

QString Header(const components::Client& client) {
  return QString::fromUtf8("Client : %1 — %2        Utilisateur : %3")
      .arg(QString::fromStdString(client.code), QString::fromStdString(client.raisonSociale),
           QString::fromStdString(client.utilisateur));
}

int Run(QApplication& app, const host::HostOptions& o) {
  const std::string path = o.db.empty() ? host::DefaultDatabasePath() : o.db;
  std::shared_ptr<dba::Database> db = host::OpenDatabase(path, std::cerr);
  demo::RegisterPostWriteRoutine(*db, std::cerr);
  auto droits = components::DroitsUtilisateur::DepuisBase(*db, o.user);
  auto client = std::make_shared<components::Client>("DEMO", "Société de démonstration", o.user);
  host::EnsureRegistered(host::LibraryBesideHost(), std::cerr);

  // Destroyed in reverse order: the window (and its view) before the
  // control that owns the form, the services last.
  forms::qt::QtServices services;
  std::unique_ptr<morvanel::ICtrUrssaf> control =
      morvanel::hosting::CreateControl(morvanel::kProgIdCtrUrssaf, services);
  host::HostWindow window(control->Controls(), services, Header(*client));
  services.SetControlView(&window.view());
  window.SetCloseQuery([&] { return morvanel::hosting::QueryClose(*control, services); });

  control->TheDatabase(db);
  control->TheClient(client);
  control->DroitsUtilisateur(droits);
  window.show();
  // A screenshot run has nobody to answer: each question or message is
  // reported and given its Escape answer, so that the run cannot hang.
  QTimer answerer;
  if (!o.screenshot.empty()) {
    QObject::connect(&answerer, &QTimer::timeout, [] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      auto* box = qobject_cast<QMessageBox*>(dialog);
      std::cerr << "morvanel-host: « "
                << (box != nullptr ? box->text() : dialog->windowTitle()).toStdString()
                << " » left unanswered\n";
      if (box != nullptr && box->escapeButton() != nullptr) {
        box->escapeButton()->click();
      } else {
        dialog->reject();
      }
    });
    answerer.start(100);
  }
  control->Init();
  if (!o.centre.empty()) {
    forms::Form& form = control->Controls();
    window.view().input().Type(form.Get("Txt_CodCtrUrssaf"), o.centre);
  }

  if (!o.screenshot.empty()) {
    for (int i = 0; i < 5; ++i) app.processEvents();
    if (!window.grab().save(QString::fromStdString(o.screenshot), "PNG")) {
      std::cerr << "morvanel-host: cannot write " << o.screenshot << "\n";
      return 1;
    }
    std::cout << "screenshot written to " << o.screenshot << "\n";
    return 0;
  }
  QObject::connect(&window, &host::HostWindow::closed, &app, &QApplication::quit);
  app.exec();
  std::cout << "W_Sortir = " << control->W_Sortir() << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (version::Printed(argc, argv, "morvanel-host")) return 0;
  std::string error;
  const auto options =
      host::ParseHostOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::cerr << "morvanel-host: " << error << "\n" << host::HostUsage();
    return 2;
  }
  if (options->help) {
    std::cout << host::HostUsage();
    return 0;
  }
  try {
    if (options->registerOnly || options->unregisterOnly) return Registration(*options);
    ChooseHeadlessPlatform(*options);
    QApplication app(argc, argv);
    return Run(app, *options);
  } catch (const std::exception& e) {
    std::cerr << "morvanel-host: " << dba::RedactSecrets(e.what()) << "\n";
    return 1;
  }
}
