// The centre list and the post-write routine. Centre data subsystem.
#include "morvanel/data/centre_list.h"

#include "dba/requete.h"
#include "morvanel/data/nombres_stockes.h"
#include "morvanel/state/code_centre.h"
#include "morvanel/state/host_requirements.h"
#include "morvanel/state/record_vocabulary.h"
#include "morvanel/state/urssaf_context.h"

namespace morvanel::data {

CentreListDeps CentreListDeps::From(state::UrssafContext& ctx) {
  return CentreListDeps{ctx.ecran, ctx.etat, ctx.lib};
}

void CentreList::Remplir_CentreUrssaf() {
  dba::Database& base = state::RequireDatabase(d_.lib, "Remplir_CentreUrssaf");
  // The codes and sigles of every centre, in sigle order.
  d_.etat.ListeCentres =
      dba::DBSelect(base, {"SSELECT CENTREURSSAF PAR 1", records::kCentreUrssaf, "0 1"});

  const dba::CItem& liste = d_.etat.ListeCentres;
  forms::Control& sigles = d_.ecran.Cbo_SigleCtrUrssaf;
  sigles.Clear();
  // The first line goes in before any test: an empty file leaves one empty
  // line, which the test below then tells apart from a single centre. The
  // list stops at a line without a code.
  bool premiere = true;
  for (const dba::CItem::AttributeView ligne : liste.Attributes()) {
    if (!premiere && ligne.Value(1).empty()) break;
    sigles.AddItem(ligne.Value(2));
    premiere = false;
  }
  if (premiere) sigles.AddItem("");

  // A single centre whose code cannot be shown stays in the list: picking
  // it says why it cannot be shown.
  if (sigles.ListCount() == 1 && !sigles.List(0).empty() &&
      state::CodeCentreAffichable(liste.Item(1, 1))) {
    d_.ecran.Txt_CodCtrUrssaf.SetText(liste.Item(1, 1));
  }
}

void CentreList::Lancer_UNIPG() {
  const dba::DBFile& compteur = state::RequireFile(d_.lib.F_Compteur, "Lancer_UNIPG");
  // A creation has just written the counter: not read a second time.
  const std::unique_ptr<dba::CItem> ecrit = std::move(d_.etat.Art_Compteur);
  const dba::CItem art = ecrit ? *ecrit : compteur.DBRead(records::compteur::kCle);
  if (LireEntier(art.Item(records::compteur::kLancerUnipg)) < 2) return;
  const dba::CItem vide;
  int numero = 0;
  state::RequireDatabase(d_.lib, "Lancer_UNIPG").DBCall("UNIPGCENTREURSSAF", numero, vide.Item());
}

}  // namespace morvanel::data
