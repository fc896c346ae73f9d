// What the rate editor is given, and its message boxes. Rate history
// subsystem.
#include "morvanel/ratehistory/rate_editor_deps.h"

#include "components/droits/droits_ecran.h"
#include "dba/citem.h"
#include "morvanel/state/urssaf_context.h"

namespace morvanel::ratehistory {

RateEditorDeps RateEditorDeps::From(state::UrssafContext& ctx, RateEditorStates& etats,
                                    RateHistoryModel& modele) {
  return RateEditorDeps{ctx.ecran, ctx.etat, ctx.services, ctx.procs, etats, modele, ctx.lib};
}

utilitaires::Utilitaires& RateEditorDeps::Utilitaires() const { return lib.Utilitaires(); }

dba::CItem* RateEditorDeps::Historique() const {
  if (etat.ModeAjout) return etat.ItemTemp.get();
  // Art_CentreUrssaf outlives the screen that showed it: only a centre still
  // on screen (its code shown) has its history edited.
  if (ecran.Txt_CodCtrUrssaf.Text().empty()) return nullptr;
  return etat.Art_CentreUrssaf.get();
}

bool RateEditorDeps::PeutModifier() const {
  return etat.DroitsEcran && etat.DroitsEcran->Niveau() == components::kNiveauComplet;
}

void RateEditorDeps::Warn(std::string_view texte) const {
  services.MsgBox(texte, forms::MsgButtons::OK, forms::MsgIcon::Exclamation, state::kTitreMessage);
}

void RateEditorDeps::Inform(std::string_view texte) const {
  services.MsgBox(texte, forms::MsgButtons::OK, forms::MsgIcon::Information, state::kTitreMessage);
}

bool RateEditorDeps::Confirmer(std::string_view question) const {
  services.Beep();
  return services.MsgBox(question, forms::MsgButtons::YesNo, forms::MsgIcon::Exclamation,
                         state::kTitreMessage) == forms::MsgAnswer::Yes;
}

}  // namespace morvanel::ratehistory
