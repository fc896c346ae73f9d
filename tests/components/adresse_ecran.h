// Test support: a form holding the embedded address control as the control
// places it, driven through the headless services.
#pragma once

#include "components/adresse/adresse.h"
#include "forms/control.h"
#include "forms/form.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"

namespace test_adresse {

// One screen per test: nothing is shared between tests.
struct Ecran {
  // Configured as the control configures it.
  Ecran() {
    adresse.Parametre4_Adresse(true);
    adresse.Parametre3_Adresse(true);
    adresse.Parametre5_Adresse(false);
    adresse.Init_Adresse();
  }

  forms::Form form{"Ctr_Urssaf", 7800, 8400};
  forms::Control& conteneur =
      form.Add(forms::Kind::Embedded, "Ctr_AdresseUrssaf", {840, 960, 6135, 2175});
  components::Adresse adresse{form, conteneur};
  forms::headless::HeadlessServices services;  // a message box nobody expects throws
  forms::UserInput input{form, services};

  forms::Control& Zone(components::ChampAdresse champ) { return adresse.Zone(champ); }
};

}  // namespace test_adresse
