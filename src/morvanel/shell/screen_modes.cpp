// The screen modes of Ctr_Urssaf (states in screen_modes.h). Control shell.
#include "morvanel/shell/screen_modes.h"

#include <array>
#include <string_view>

#include "components/adresse/adresse.h"
#include "components/droits/droits_ecran.h"
#include "morvanel/fields/entite_etab_pickers.h"
#include "morvanel/state/urssaf_context.h"

namespace morvanel::shell {

ScreenModesDeps ScreenModesDeps::From(state::UrssafContext& ctx) {
  state::UrssafProcedures& p = ctx.procs;
  return ScreenModesDeps{ctx.ecran, ctx.etat, ctx.adresse, [&p] { p.RapportFalse(); }};
}
namespace {

// What a search leaves alone: the user still needs them to find a centre,
// add one or leave.
constexpr std::array<std::string_view, 5> kActifsEnRecherche{
    "Etq_CodCtrUrssaf", "Txt_CodCtrUrssaf", "Cbo_SigleCtrUrssaf", "Cmd_Ajouter", "Cmd_Sortir"};

bool ActifEnRecherche(std::string_view name) {
  for (std::string_view n : kActifsEnRecherche) {
    if (n == name) return true;
  }
  return false;
}

}  // namespace

void ScreenModes::Afficher() {
  forms::Form& form = d_.ecran.form;
  for (int i = 0; i < form.Count(); ++i) {
    forms::Control& c = form[i];
    c.SetEnabled(!(d_.etat.ModeAjout && c.Name() == "Cmd_Supprimer"));
  }
  fields::Verrouiller_Choix_Uniques(d_.ecran);
  d_.RapportFalse();
}

void ScreenModes::Griser() {
  forms::Form& form = d_.ecran.form;
  for (int i = 0; i < form.Count(); ++i) {
    forms::Control& c = form[i];
    if (!ActifEnRecherche(c.Name())) c.SetEnabled(false);
  }
}

void ScreenModes::Vider_Donnees() {
  state::UrssafScreen& e = d_.ecran;
  e.Txt_CodCtrUrssaf.SetEnabled(true);
  e.Txt_SigleCtrUrssaf.SetText("");
  e.Cbo_SigleCtrUrssaf.SetText("");
  e.Txt_NomCtrUrssaf.SetText("");
  d_.adresse.Vider_Adresse();
  e.Txt_InterlocCtrUrssaf.SetText("");
  e.Txt_CodOrgCtrUrssaf.SetText("");
  e.Cac_DntJPCtrUrssaf.SetValue(0);
  e.Txt_CodeSNV2.SetText("");
  e.Txt_MontForfait.SetText("");
  d_.etat.ModeAjout = false;
  e.Cmd_Ajouter.SetEnabled(true);
  e.Cmd_Sortir.SetEnabled(true);
  e.Cmd_Supprimer.SetEnabled(false);
  e.Cmd_OK.SetEnabled(false);
  e.Cmd_Annuler.SetEnabled(false);
  e.Txt_SigleCtrUrssaf.SetVisible(false);
  e.Cbo_SigleCtrUrssaf.SetVisible(true);
  e.Txt_CodCtrUrssaf.SetText("");
  if (e.Txt_CodCtrUrssaf.Enabled()) e.Txt_CodCtrUrssaf.SetFocus();
  e.Txt_CodeEntite.SetText("");
  e.Cbo_Entite.SetText("");
  e.Txt_CodeEtab.SetText("");
  e.Cbo_Etab.SetText("");
  Griser();
}

void ScreenModes::Appliquer_Droits() {
  if (d_.etat.DroitsEcran->Niveau() == components::kNiveauComplet) return;
  state::UrssafScreen& e = d_.ecran;
  for (forms::Control* c : {&e.Cmd_Ajouter, &e.Cmd_OK, &e.Cmd_Supprimer, &e.Cmd_AjouterRapport,
                            &e.Cmd_SupprimerRapport, &e.Cmd_OkRapport}) {
    c->SetVisible(false);
  }
  // Nothing such a user types could be kept: the fields of a centre show it
  // read-only, still readable and copyable, instead of taking edits that
  // "Sortir" would drop without a word. The search fields stay as they are.
  for (const auto& c : e.form.AllControls()) {
    const forms::Kind kind = c->kind();
    const bool saisie = kind == forms::Kind::TextBox || kind == forms::Kind::ComboBox ||
                        kind == forms::Kind::CheckBox;
    if (saisie && !ActifEnRecherche(c->Name())) c->SetReadOnly(true);
  }
}

}  // namespace morvanel::shell
