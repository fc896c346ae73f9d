// designer-host: a host whose window was drawn in Qt Designer, with the
// URSSAF centres control placed on it from the widget box. It opens the
// database, gives the control a client and full rights, calls Init and shows
// the window; --list prints the sigles of the sigle list instead, one a line,
// as examples/minimal-host does.
//
//   designer-host --db FILE [--list]      (or a postgresql:// URI)
#include <cstring>
#include <iostream>
#include <memory>

#include <QApplication>
#include <QWidget>

#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "dba/database.h"
#include "forms/control.h"
#include "forms/form.h"
#include "ui_designer_host.h"

int main(int argc, char** argv) {
  const bool list = argc == 4 && std::strcmp(argv[3], "--list") == 0;
  if ((argc != 3 && !list) || std::strcmp(argv[1], "--db") != 0) {
    std::cerr << "usage: designer-host --db FILE|URI [--list]\n";
    return 2;
  }
  QApplication app(argc, argv);
  QWidget window;
  Ui::DesignerHost ui;
  ui.setupUi(&window);
  morvanel::ICtrUrssaf* control = ui.ctrUrssaf->control();
  if (control == nullptr) {
    std::cerr << "designer-host: " << ui.ctrUrssaf->error() << '\n';
    return 1;
  }
  try {
    control->TheDatabase(dba::Database::Open(argv[2]));
    control->TheClient(std::make_shared<components::Client>("DEMO", "Exemple", "exemple"));
    control->DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}}));
    control->Init();
  } catch (const std::exception& e) {
    std::cerr << "designer-host: " << e.what() << '\n';
    return 1;
  }
  if (list) {
    const forms::Control& sigles = control->Controls().Get("Cbo_SigleCtrUrssaf");
    for (int i = 0; i < sigles.ListCount(); ++i) std::cout << sigles.List(i) << '\n';
    return 0;
  }
  window.show();
  const int status = QApplication::exec();
  std::cout << "W_Sortir = " << control->W_Sortir() << '\n';
  return status;
}
