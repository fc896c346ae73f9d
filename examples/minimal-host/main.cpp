// minimal-host: the smallest host of the URSSAF centres control. It opens a
// database, creates the control by its class name on the headless binding,
// gives it the database, a client and full rights, calls Init and prints the
// sigles of the sigle list, one a line, in list order.
//
//   minimal-host --db FILE      (or a postgresql:// URI)
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "dba/database.h"
#include "dba/redact.h"
#include "forms/control.h"
#include "forms/form.h"
#include "forms/headless/headless_services.h"
#include "morvanel/hosting/close_query.h"
#include "morvanel/hosting/hosting.h"
#include "morvanel/interface/ictr_urssaf.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[1], "--db") != 0) {
    std::cerr << "usage: minimal-host --db FILE|URI\n";
    return 2;
  }
  try {
    auto db = dba::Database::Open(argv[2]);
    // Every box the control may raise is answered with its first button.
    forms::headless::HeadlessServices services;
    services.SetDefaultAnswer(forms::MsgAnswer::OK);

    std::unique_ptr<morvanel::ICtrUrssaf> control =
        morvanel::hosting::CreateControl(morvanel::kProgIdCtrUrssaf, services);
    control->TheDatabase(db);
    control->TheClient(std::make_shared<components::Client>("DEMO", "Exemple", "exemple"));
    control->DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}}));
    control->Init();

    // The sigle list holds the centres in the order the control shows them.
    const forms::Control& sigles = control->Controls().Get("Cbo_SigleCtrUrssaf");
    for (int i = 0; i < sigles.ListCount(); ++i) std::cout << sigles.List(i) << '\n';
    // Leaving goes through the control's exit path, as closing a window must:
    // it would ask before dropping an edit.
    if (!morvanel::hosting::QueryClose(*control, services)) return 1;
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "minimal-host: " << dba::RedactSecrets(e.what()) << '\n';
    return 1;
  }
}
