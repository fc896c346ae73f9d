// Checks before a save and the search for attached case records.
// Editing workflow subsystem.
#include "morvanel/workflow/record_validation.h"

#include <string>

#include "morvanel/state/prerequis.h"

namespace morvanel::workflow {
namespace {

bool Vide(std::string_view texte) { return texte.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

bool ValeurCitable(std::string_view code) {
  // The record marks would split the request record itself.
  return code.find_first_of("\"]\xFE\xFD\xFC") == std::string_view::npos;
}

void RecordValidation::Refuser(const char* message, view::Control& zone) {
  ctx_.services.MsgBox(message, view::MsgButtons::OK, view::MsgIcon::Exclamation,
                       shell::kTitreMessage);
  zone.SetFocus();
  ctx_.etat.ErreurVerif = true;
}

void RecordValidation::Verif_Donnees() {
  shell::UrssafScreen& e = ctx_.ecran;
  ctx_.etat.ErreurVerif = false;
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
  }
}

void RecordValidation::Verif_EltsPartEmp() {
  const std::string code = ctx_.ecran.Txt_CodCtrUrssaf.Text();
  if (!ValeurCitable(code)) {
    // Such a text would end or widen the sentence's quoted value; no
    // centre has it, so no record can be attached to it.
    ctx_.etat.ListeEltsPartEmp = dba::CItem();
    return;
  }
  dba::CItem requete;
  requete.setItem(1, "SSELECT ELTSPARTEMP AVEC 1 = \"" + code + "\"");
  requete.setItem(2, "ELTSPARTEMP");
  requete.setItem(3, "0");
  ctx_.etat.ListeEltsPartEmp =
      shell::BaseRequise(ctx_.lib, "Verif_EltsPartEmp").DBSelect(requete.Item(), "");
}

}  // namespace morvanel::workflow
