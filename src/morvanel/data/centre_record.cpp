// The centre record to the screen and back. Centre data subsystem.
#include "morvanel/data/centre_record.h"

#include <optional>
#include <string>

#include "components/adresse/adresse.h"
#include "morvanel/data/nombres_stockes.h"
#include "morvanel/state/record_vocabulary.h"
#include "morvanel/state/urssaf_context.h"

namespace morvanel::data {

CentreRecordDeps CentreRecordDeps::From(state::UrssafContext& ctx) {
  state::LibraryState& lib = ctx.lib;
  return CentreRecordDeps{ctx.ecran, ctx.etat, ctx.adresse,
                          [&lib]() -> utilitaires::Utilitaires& { return lib.Utilitaires(); }};
}
namespace {

namespace attr = records::centre;
constexpr int kLongueurCode = attr::kLongueurCodeRattachement;

// Attribute 25 as the two code boxes show it: the first 3 characters, and
// the last 3 when it is entity and establishment; an entity saved without
// an establishment leaves the establishment empty.
struct Rattachement {
  std::string entite, etab;
};
Rattachement RattachementAffiche(const std::string& stocke) {
  Rattachement r;
  r.entite = stocke.substr(0, kLongueurCode);
  if (stocke.size() == 2 * kLongueurCode) r.etab = stocke.substr(kLongueurCode);
  return r;
}

}  // namespace

dba::CItem& CentreRecord::Centre() {
  // A host may call these before any centre was read: an empty record then.
  if (!d_.etat.Art_CentreUrssaf) d_.etat.Art_CentreUrssaf = std::make_unique<dba::CItem>();
  return *d_.etat.Art_CentreUrssaf;
}

void CentreRecord::Afficher_Champs() {
  state::UrssafScreen& e = d_.ecran;
  dba::CItem& art = Centre();
  e.Txt_SigleCtrUrssaf.SetText(art.Item(attr::kSigle));
  e.Txt_NomCtrUrssaf.SetText(art.Item(attr::kNom));
  d_.adresse.Lire_Adresse(art, attr::kAdresse);
  e.Txt_InterlocCtrUrssaf.SetText(art.Item(attr::kInterlocuteur));
  e.Txt_CodOrgCtrUrssaf.SetText(art.Item(attr::kCodeOrganisme));
  e.Cac_DntJPCtrUrssaf.SetValue(ValeurCoche(art.Item(attr::kDntJP)));
  e.Txt_CodeSNV2.SetText(art.Item(attr::kCodeSNV2));
  if (const std::optional<std::string> montant =
          MontantAffiche(d_.Utilitaires(), art.Item(attr::kMontantForfait))) {
    e.Txt_MontForfait.SetText(*montant);
  }
}

void CentreRecord::Afficher_Rattachement() {
  state::UrssafScreen& e = d_.ecran;
  if (const std::string rattachement = Centre().Item(attr::kRattachement); !rattachement.empty()) {
    const Rattachement lu = RattachementAffiche(rattachement);
    e.Txt_CodeEntite.SetText(lu.entite);
    if (!lu.etab.empty()) e.Txt_CodeEtab.SetText(lu.etab);
  }
  entiteAffichee_ = e.Txt_CodeEntite.Text();
  etabAffiche_ = e.Txt_CodeEtab.Text();
}

void CentreRecord::Afficher_Barres() {
  state::UrssafScreen& e = d_.ecran;
  e.Bdv_Valeur.SetMax(e.Lst_Valeur.ListCount() - 1);
  e.Bdv_Date.SetMax(e.Lst_Date.ListCount() - 1);
  e.Bdv_Valeur.SetVisible(e.Lst_Valeur.ListCount() >= records::kLignesVisibles);
  e.Bdv_Date.SetVisible(e.Lst_Date.ListCount() >= records::kLignesVisibles);
  e.Cmd_Ajouter.SetEnabled(false);
  e.Cmd_Supprimer.SetEnabled(true);
  e.Cmd_OK.SetEnabled(true);
  e.Cmd_Annuler.SetEnabled(true);
  e.Cmd_Sortir.SetEnabled(true);
}

dba::CItem& CentreRecord::EcrireChamps() {
  state::UrssafScreen& e = d_.ecran;
  dba::CItem& art = Centre();
  art.setItem(attr::kSigle, e.Txt_SigleCtrUrssaf.Text());
  art.setItem(attr::kNom, e.Txt_NomCtrUrssaf.Text());
  d_.adresse.Ecrire_Adresse(art, attr::kAdresse);
  art.setItem(attr::kInterlocuteur, e.Txt_InterlocCtrUrssaf.Text());
  art.setItem(attr::kCodeOrganisme, e.Txt_CodOrgCtrUrssaf.Text());
  // The flag as it was read (even "" or a stray text) is kept while the box
  // still says the same, so an unchanged centre is written back byte for
  // byte; a new centre always gets "0" or "1".
  const int coche = e.Cac_DntJPCtrUrssaf.Value();
  if (d_.etat.ModeAjout || ValeurCoche(art.Item(attr::kDntJP)) != coche) {
    art.setItem(attr::kDntJP, std::to_string(coche));
  }
  art.setItem(attr::kCodeSNV2, e.Txt_CodeSNV2.Text());
  // An amount the box still shows as it was read is kept as stored ("0125"
  // or a stray text would not come back from the box the same). Otherwise
  // the box's key filter lets only a number in; anything else would be a
  // text pasted round it and is stored as no amount rather than as a guess.
  const std::string montant = e.Txt_MontForfait.Text();
  if (d_.etat.ModeAjout ||
      montant != MontantAffiche(d_.Utilitaires(), art.Item(attr::kMontantForfait))
                     .value_or(std::string())) {
    art.setItem(attr::kMontantForfait, MontantStocke(montant).value_or(std::string()));
  }
  if (d_.etat.ModeAjout) {
    const dba::CItem vide;
    const dba::CItem& temp = d_.etat.ItemTemp ? *d_.etat.ItemTemp : vide;
    art.setItem(attr::kDates, temp.Item(attr::kDates));
    art.setItem(attr::kTaux, temp.Item(attr::kTaux));
  }
  // Likewise an attachment shown as it was read (one that is not 3 + 3
  // characters shows only part of itself, a single choice the pickers
  // filled in shows more) is kept as stored.
  if (d_.etat.ModeAjout || e.Txt_CodeEntite.Text() != entiteAffichee_ ||
      e.Txt_CodeEtab.Text() != etabAffiche_) {
    art.setItem(attr::kRattachement, e.Txt_CodeEntite.Text() + e.Txt_CodeEtab.Text());
  } else {
    // Back to what was shown: back to what was read, whatever an earlier
    // copy of the screen put there.
    art.setItem(attr::kRattachement, dba::CItem(d_.etat.ArticleInitial).Item(attr::kRattachement));
  }
  return art;
}

}  // namespace morvanel::data
