// The centre code box and the two sigle fields: lookup by code, leading
// zeros, choice by sigle, sigle in capitals. Field entry subsystem.
//
// The lookup ends in one of two screens, never in between: the centre found
// (code box disabled, sigle text box shown and focused) or the search state
// (code box enabled and emptied, sigle list shown). A database step that
// fails is skipped: no centre is shown from a record that was not read. A
// record another workstation holds is said to be so; any other failure (a
// missing file) gives a beep instead of telling the clerk that an existing
// centre does not exist.
#include "morvanel/fields/code_sigle_fields.h"

#include <memory>
#include <string>

#include "dba/citem.h"
#include "dba/dba_error.h"
#include "morvanel/fields/texte_saisie.h"
#include "morvanel/state/code_centre.h"
#include "morvanel/state/urssaf_context.h"
#include "morvanel/state/urssaf_screen.h"
#include "morvanel/state/record_vocabulary.h"

namespace morvanel::fields {

CodeSigleDeps CodeSigleDeps::From(state::UrssafContext& ctx) {
  state::UrssafProcedures& p = ctx.procs;
  return CodeSigleDeps{ctx.ecran, ctx.etat, ctx.services, ctx.lib.F_CentreUrssaf,
                       [&p] { p.Vider_Donnees(); }};
}

namespace {

constexpr int kLongueurCode = records::centre::kLongueurCle;

constexpr const char* kCodeNonAffichable =
    "Ce centre URSSAF ne peut pas être affiché : son code ne compte pas deux caractères.";
constexpr const char* kCentreVerrouille =
    "Ce centre URSSAF est en cours de modification sur un autre poste.";

}  // namespace

void CodeSigleFields::Attach() {
  auto& e = d_.ecran;
  e.Txt_CodCtrUrssaf.KeyPress = [this](int& keyAscii) { Txt_CodCtrUrssaf_KeyPress(keyAscii); };
  e.Txt_CodCtrUrssaf.LostFocus = [this] { Txt_CodCtrUrssaf_LostFocus(); };
  e.Cbo_SigleCtrUrssaf.Click = [this] { Cbo_SigleCtrUrssaf_Click(); };
  e.Txt_SigleCtrUrssaf.LostFocus = [this] { Txt_SigleCtrUrssaf_LostFocus(); };
}

bool CodeSigleFields::Lire_Centre() {
  auto& e = d_.ecran;
  auto& etat = d_.etat;
  e.Bdv_Valeur.SetMax(0);

  const std::string code = e.Txt_CodCtrUrssaf.Text();
  if (CharacterCount(code) != kLongueurCode) return false;
  centreAffiche_ = false;

  etat.Art_CentreUrssaf.reset();
  if (!d_.F_CentreUrssaf.IsOpen()) {  // Init was not called: nothing can be read
    Revenir_Recherche();
    return false;
  }
  try {
    etat.Art_CentreUrssaf = std::make_unique<dba::CItem>(d_.F_CentreUrssaf.DBRead(code));
  } catch (const dba::DbaError& err) {
    // Nothing was read: nothing to show.
    Revenir_Recherche(err.number() == dba::kErrRecordLocked ? kCentreVerrouille : nullptr);
    return false;
  }
  etat.ArticleInitial = etat.Art_CentreUrssaf->Item();

  if (etat.ArticleInitial.empty()) {
    d_.services.MsgBox("Ce centre URSSAF n'existe pas.", forms::MsgButtons::OK,
                       forms::MsgIcon::Exclamation, state::kTitreMessage);
    e.Txt_CodCtrUrssaf.SetText("");  // runs the lookup again: SetMax only
    e.Txt_CodCtrUrssaf.SetFocus();
    return false;
  }
  return true;
}

// The centre read is put on screen; a failure half-way returns the screen
// to the search state rather than leaving some fields of the centre shown.
void CodeSigleFields::Afficher_Centre(const std::function<void()>& afficher) {
  auto& e = d_.ecran;
  try {
    afficher();
  } catch (const dba::DbaError&) {
    d_.Vider_Donnees();
    state::ViderListesTaux(e);
    d_.services.Beep();
    return;
  }
  e.Cbo_SigleCtrUrssaf.SetVisible(false);
  e.Txt_SigleCtrUrssaf.SetVisible(true);
  e.Txt_CodCtrUrssaf.SetEnabled(false);
  e.Txt_SigleCtrUrssaf.SetFocus();
  centreAffiche_ = true;
}

// The record could not be read: no current centre, the clerk told why (or
// a beep), the code box emptied and focused again for another try.
void CodeSigleFields::Revenir_Recherche(const char* message) {
  auto& e = d_.ecran;
  d_.etat.Art_CentreUrssaf = std::make_unique<dba::CItem>();
  d_.etat.ArticleInitial.clear();
  if (message != nullptr) {
    d_.services.MsgBox(message, forms::MsgButtons::OK, forms::MsgIcon::Exclamation,
                       state::kTitreMessage);
  } else {
    d_.services.Beep();
  }
  e.Txt_CodCtrUrssaf.SetText("");
  e.Txt_CodCtrUrssaf.SetFocus();
}

void CodeSigleFields::Txt_CodCtrUrssaf_KeyPress(int& keyAscii) {
  if (keyAscii != forms::kKeyEnter) return;
  auto& box = d_.ecran.Txt_CodCtrUrssaf;
  const std::string complete = PadWithZeros(box.Text(), kLongueurCode);
  box.SetText(complete);  // a code that changes starts the lookup
}

void CodeSigleFields::Txt_CodCtrUrssaf_LostFocus() {
  auto& box = d_.ecran.Txt_CodCtrUrssaf;
  const std::string texte = box.Text();
  if (texte.empty() || CharacterCount(texte) >= kLongueurCode) return;
  box.SetText(PadWithZeros(texte, kLongueurCode));
}

void CodeSigleFields::Cbo_SigleCtrUrssaf_Click() {
  auto& e = d_.ecran;
  if (e.Cbo_SigleCtrUrssaf.Text().empty()) return;
  const int index = e.Cbo_SigleCtrUrssaf.ListIndex();
  if (index < 0) return;  // text typed, no entry chosen

  const std::string sigle = e.Cbo_SigleCtrUrssaf.Text();
  const std::string code = d_.etat.ListeCentres.Item(index + 1, 1);
  if (!state::CodeCentreAffichable(code)) {
    // Never another centre under this sigle: the box would look up another
    // key than the one picked, and a save would rename that centre.
    d_.services.MsgBox(kCodeNonAffichable, forms::MsgButtons::OK, forms::MsgIcon::Exclamation,
                       state::kTitreMessage);
    e.Cbo_SigleCtrUrssaf.SetText("");
    return;
  }
  centreAffiche_ = false;
  e.Txt_CodCtrUrssaf.SetText(code);
  if (!centreAffiche_) return;  // not found or not readable: the lookup has said so

  e.Txt_SigleCtrUrssaf.SetText(sigle);
  e.Cbo_SigleCtrUrssaf.SetVisible(false);
  e.Txt_SigleCtrUrssaf.SetVisible(true);
  e.Txt_CodCtrUrssaf.SetEnabled(false);
}

void CodeSigleFields::Txt_SigleCtrUrssaf_LostFocus() {
  auto& box = d_.ecran.Txt_SigleCtrUrssaf;
  box.SetText(Uppercase(box.Text()));
}

}  // namespace morvanel::fields
