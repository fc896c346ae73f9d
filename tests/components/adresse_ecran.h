// Test support: a form holding the embedded address control as the control
// places it, driven through the headless services.
#pragma once

#include "components/adresse/adresse.h"
#include "morvanel/view/control.h"
#include "morvanel/view/form.h"
#include "morvanel/view/headless/headless_services.h"
#include "morvanel/view/user_input.h"

namespace test_adresse {

namespace view = morvanel::view;

// One screen per test: nothing is shared between tests.
struct Ecran {
  // Configured as the control configures it.
  Ecran() {
    adresse.Parametre4_Adresse(true);
    adresse.Parametre3_Adresse(true);
    adresse.Parametre5_Adresse(false);
    adresse.Init_Adresse();
  }

  view::Form form{"Ctr_Urssaf", 7800, 8400};
  view::Control& conteneur =
      form.Add(view::Kind::Embedded, "Ctr_AdresseUrssaf", {840, 960, 6135, 2175});
  components::Adresse adresse{form, conteneur};
  view::headless::HeadlessServices services;  // a message box nobody expects throws
  view::UserInput input{form, services};

  view::Control& Zone(components::ChampAdresse champ) { return adresse.Zone(champ); }
};

}  // namespace test_adresse
