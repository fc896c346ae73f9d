// The centre list and the post-write routine. Centre data subsystem.
#include "morvanel/data/centre_list.h"

#include "morvanel/data/nombres_stockes.h"
#include "morvanel/state/prerequis.h"

namespace morvanel::data {

void CentreList::Remplir_CentreUrssaf() {
  dba::Database& base = shell::BaseRequise(ctx_.lib, "Remplir_CentreUrssaf");
  dba::CItem requete;
  requete.setItem(1, "SSELECT CENTREURSSAF PAR 1");
  requete.setItem(2, "CENTREURSSAF");
  requete.setItem(3, "0 1");
  ctx_.etat.ListeCentres = base.DBSelect(requete.Item(), "");

  const dba::CItem& liste = ctx_.etat.ListeCentres;
  view::Control& sigles = ctx_.ecran.Cbo_SigleCtrUrssaf;
  sigles.Clear();
  // The first line goes in before any test: an empty file leaves one empty
  // line, which the test below then tells apart from a single centre.
  int i = 1;
  do {
    sigles.AddItem(liste.Item(i, 2));
    ++i;
  } while (!liste.Item(i, 1).empty());

  if (sigles.ListCount() == 1 && !sigles.List(0).empty()) {
    ctx_.ecran.Txt_CodCtrUrssaf.SetText(liste.Item(1, 1));
  }
}

void CentreList::Lancer_UNIPG() {
  const dba::DBFile& compteur = shell::FichierRequis(ctx_.lib.F_Compteur, "Lancer_UNIPG");
  const dba::CItem art = compteur.DBRead("999");
  if (LireEntier(art.Item(45)) < 2) return;
  const dba::CItem vide;
  int numero = 0;
  shell::BaseRequise(ctx_.lib, "Lancer_UNIPG").DBCall("UNIPGCENTREURSSAF", numero, vide.Item());
}

}  // namespace morvanel::data
