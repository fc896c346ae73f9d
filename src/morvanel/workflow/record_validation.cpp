// Checks before a save and the search for attached case records.
// Editing workflow subsystem.
#include "morvanel/workflow/record_validation.h"

#include <optional>
#include <string>

#include "dba/requete.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/record_vocabulary.h"
#include "morvanel/state/urssaf_screen.h"

namespace morvanel::workflow {
namespace {

bool Vide(std::string_view texte) { return texte.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

bool ValeurCitable(std::string_view code) { return dba::Citable(code); }

void RecordValidation::Refuser(const char* message, forms::Control& zone) {
  d_.Warn(message);
  zone.SetFocus();
}

bool RecordValidation::DonneesValides() {
  state::UrssafScreen& e = d_.ecran;
  if (Vide(e.Txt_SigleCtrUrssaf.Text())) {
    Refuser("Le sigle du centre URSSAF est obligatoire.", e.Txt_SigleCtrUrssaf);
  } else if (Vide(e.Txt_NomCtrUrssaf.Text())) {
    Refuser("La dénomination du centre URSSAF est obligatoire.", e.Txt_NomCtrUrssaf);
  } else if (Vide(e.Txt_CodOrgCtrUrssaf.Text())) {
    Refuser("Le code organisme du centre URSSAF est obligatoire.", e.Txt_CodOrgCtrUrssaf);
  } else if (e.Cbo_Entite.ListCount() > 1 && e.Cbo_Entite.Text().empty()) {
    // A list of one was already chosen and locked by its filler; none: nothing to choose.
    Refuser("Vous devez sélectionner une entité de rattachement.", e.Txt_CodeEntite);
  } else if (e.Cbo_Etab.ListCount() > 1 && e.Cbo_Etab.Text().empty()) {
    Refuser("Vous devez sélectionner un établissement de rattachement.", e.Txt_CodeEtab);
  } else {
    return true;
  }
  return false;
}

void RecordValidation::Verif_Donnees() { d_.etat.ErreurVerif = !DonneesValides(); }

dba::CItem RecordValidation::EltsPartEmp() {
  const std::optional<std::string> code = dba::Citer(d_.ecran.Txt_CodCtrUrssaf.Text());
  // Such a text would end or widen the sentence's quoted value; no centre
  // has it, so no record can be attached to it.
  if (!code) return dba::CItem();
  return dba::DBSelect(d_.RequireDatabase("Verif_EltsPartEmp"),
                       {"SSELECT ELTSPARTEMP AVEC 1 = " + *code, records::kEltsPartEmp, "0"});
}

void RecordValidation::Verif_EltsPartEmp() { d_.etat.ListeEltsPartEmp = EltsPartEmp(); }

}  // namespace morvanel::workflow
