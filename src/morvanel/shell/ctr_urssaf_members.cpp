// Ctr_Urssaf's public members and procedures, each handed to the subsystem
// that owns it inside one action of the form. Control shell.
#include "morvanel/shell/ctr_urssaf.h"

#include "morvanel/shell/ctr_urssaf_private.h"

namespace morvanel::shell {

int Ctr_Urssaf::W_Sortir() const { return d->etat.W_Sortir; }
void Ctr_Urssaf::W_Sortir(int value) { d->etat.W_Sortir = value; }
forms::Form& Ctr_Urssaf::Controls() { return *d->form; }

#define MORVANEL_DELEGATE(member, object) \
  void Ctr_Urssaf::member() {             \
    forms::ActionScope action(*d->form);  \
    d->object.member();                   \
  }

MORVANEL_DELEGATE(Verif_EltsPartEmp, workflow.verif)
MORVANEL_DELEGATE(Afficher, modes)
MORVANEL_DELEGATE(Ecrire_Donnees, centre)
MORVANEL_DELEGATE(Griser, modes)
MORVANEL_DELEGATE(Remplir_CentreUrssaf, liste)
MORVANEL_DELEGATE(Verif_Donnees, workflow.verif)
MORVANEL_DELEGATE(Vider_Donnees, modes)
MORVANEL_DELEGATE(RapportFalse, editeurTaux)
MORVANEL_DELEGATE(Remplir_Valeur, taux)
MORVANEL_DELEGATE(Remplir_ValeurTemp, taux)
MORVANEL_DELEGATE(Trier_Par_Date, taux)
MORVANEL_DELEGATE(Trier_Par_DateTemp, taux)
MORVANEL_DELEGATE(Griser_Valeur, editeurTaux)
MORVANEL_DELEGATE(Degriser_Valeur, editeurTaux)
MORVANEL_DELEGATE(Afficher_Ajouter, editeurTaux)
MORVANEL_DELEGATE(Masquer_Valeur, editeurTaux)
MORVANEL_DELEGATE(Chevauchement, taux)
MORVANEL_DELEGATE(Lancer_UNIPG, liste)
MORVANEL_DELEGATE(Remplir_Entite, pickers)
MORVANEL_DELEGATE(Remplir_Etab, pickers)

#undef MORVANEL_DELEGATE

void Ctr_Urssaf::Afficher_Donnees() {
  forms::ActionScope action(*d->form);
  d->Afficher_Donnees();
}

}  // namespace morvanel::shell
