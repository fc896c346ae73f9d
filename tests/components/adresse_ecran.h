// Test support: a form holding the embedded address control as the control
// places it, with a Services that records nothing and shows nothing.
#pragma once

#include "components/adresse/adresse.h"
#include "morvanel/view/control.h"
#include "morvanel/view/form.h"
#include "morvanel/view/services.h"
#include "morvanel/view/user_input.h"

namespace test_adresse {

namespace view = morvanel::view;

class ServicesMuets : public view::Services {
 public:
  view::MsgAnswer MsgBox(std::string_view, view::MsgButtons, view::MsgIcon,
                         std::string_view) override {
    ++messages;
    return view::MsgAnswer::OK;
  }
  void Beep() override { ++beeps; }
  void SetMousePointer(view::MousePointer) override {}
  void DoEvents() override {}
  void PopupMenu(view::Control&, float, float) override {}
  void ShowModal(view::Form&) override {}
  void ShowHelpTopic(const std::string&, int) override {}
  void CloseHelp(const std::string&) override {}
  void UnloadParentForm() override {}

  int messages = 0;
  int beeps = 0;
};

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
  ServicesMuets services;
  view::UserInput input{form, services};

  view::Control& Zone(components::ChampAdresse champ) { return adresse.Zone(champ); }
};

}  // namespace test_adresse
