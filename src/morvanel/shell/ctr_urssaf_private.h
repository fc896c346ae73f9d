// What one Ctr_Urssaf owns: its form and screen, the address control, its
// working fields, and the subsystem objects its events are handed to.
// Private to the control shell (ctr_urssaf*.cpp).
#pragma once

#include <memory>

#include "components/adresse/adresse.h"
#include "morvanel/data/centre_list.h"
#include "morvanel/data/centre_record.h"
#include "morvanel/fields/adresse_bancaire_form.h"
#include "morvanel/fields/code_sigle_fields.h"
#include "morvanel/fields/entite_etab_pickers.h"
#include "morvanel/fields/snv2_montant_fields.h"
#include "morvanel/ratehistory/rate_editor.h"
#include "morvanel/ratehistory/rate_editor_states.h"
#include "morvanel/ratehistory/rate_history_model.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "morvanel/shell/help_menu.h"
#include "morvanel/shell/layout.h"
#include "morvanel/shell/screen_modes.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/library_state.h"
#include "morvanel/state/urssaf_context.h"
#include "forms/form.h"
#include "morvanel/workflow/workflow.h"

namespace morvanel::shell {

// Members are built in this order and destroyed in the reverse one: the
// subsystems go before the context, the screen and the form they refer to.
struct Ctr_Urssaf::Private {
  Private(forms::Services& services, state::UrssafProcedures& procs);

  // The lookup of a typed centre code, and the record to the screen it ends
  // with (typed_code.cpp).
  void Txt_CodCtrUrssaf_Change();
  void Afficher_Donnees();

  forms::Services& services;
  state::LibraryState& lib;
  std::unique_ptr<forms::Form> form;
  state::UrssafScreen ecran;
  components::Adresse adresse;
  state::InstanceState etat;
  state::UrssafContext ctx;
  long long fenetre = 0;

  ScreenModes modes;
  HelpMenu aide;
  data::CentreRecord centre;
  data::CentreList liste;
  workflow::Workflow workflow;
  fields::CodeSigleFields codeSigle;
  fields::EntiteEtabPickers pickers;
  ratehistory::RateHistoryModel taux;
  ratehistory::RateEditorStates editeurTaux;
  fields::Snv2MontantFields snv2Montant;
  ratehistory::RateEditor editeurRapport;
  fields::AdresseBancaireForm banque;  // Frm_AdresseBancaire
};

}  // namespace morvanel::shell
