// The rate history of a centre: the two lists built from attributes 20
// (stored dates) and 21 (rates x 1000), the newest-first sort and the
// duplicate-date check. Rate history subsystem.
//
// The history is read and written a whole attribute at a time (Values /
// setValues): a history may hold 32767 lines and must show and sort within a
// frame. No operation here touches any other attribute (22, the flat amount,
// lives beside the history in the same record). A record not there yet
// (null) holds an empty history.
#include "morvanel/ratehistory/rate_history_model.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "dba/citem.h"
#include "morvanel/ratehistory/rate_lines.h"
#include "morvanel/state/record_vocabulary.h"
#include "morvanel/state/urssaf_context.h"
#include "utilitaires/utilitaires.h"

namespace morvanel::ratehistory {

RateHistoryDeps RateHistoryDeps::From(state::UrssafContext& ctx) {
  state::LibraryState& lib = ctx.lib;
  return RateHistoryDeps{ctx.ecran, ctx.etat, ctx.services,
                         [&lib]() -> utilitaires::Utilitaires& { return lib.Utilitaires(); }};
}

namespace {

constexpr int kAttrDates = records::centre::kDates;
constexpr int kAttrTaux = records::centre::kTaux;

// Both lists are written straight from the record's text into their
// entries, each handed over whole: a screen redraws it once, not per line,
// and refilling a long history allocates nothing per line.
void Remplir(const RateHistoryDeps& d, const dba::CItem* historique) {
  auto& e = d.ecran;
  e.Lst_Valeur.Clear();
  e.Lst_Date.Clear();
  if (!historique) return;

  const utilitaires::Utilitaires& u = d.Utilitaires();
  const std::string_view dates = historique->Attribute(kAttrDates).Text();
  const std::size_t lignes = NombreDeValeurs(dates);
  Valeurs taux(historique->Attribute(kAttrTaux).Text());
  e.Lst_Valeur.AddItems(
      lignes, [&](std::size_t, std::string& ligne) { ligne = TexteTaux(u, taux.Suivante()); });
  Valeurs jours(dates);
  e.Lst_Date.AddItems(lignes, [&](std::size_t, std::string& ligne) {
    ligne = u.Convertir_DateAffichage(jours.Suivante());
  });
}

// `attrCompte`: the attribute whose number of values is the number of
// lines. The cells are sorted in place in the record's text, and each
// column is rewritten once.
void Trier(dba::CItem* historique, int attrCompte) {
  if (!historique) return;
  std::vector<std::string_view> dates = Cellules(historique->Attribute(kAttrDates).Text());
  std::vector<std::string_view> taux = Cellules(historique->Attribute(kAttrTaux).Text());
  const std::size_t lignes = attrCompte == kAttrDates ? dates.size() : taux.size();
  if (!TrierLignesParDate(dates, taux, lignes)) return;
  // Both texts are made before the record changes under the cells.
  const std::string texteDates = Joindre(dates);
  const std::string texteTaux = Joindre(taux);
  historique->setItem(kAttrDates, texteDates);
  historique->setItem(kAttrTaux, texteTaux);
}

// Two digits, "/", two digits, "/", four digits.
bool EstDateAffichee(std::string_view ligne) {
  if (ligne.size() != 10 || ligne[2] != '/' || ligne[5] != '/') return false;
  for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9}) {
    if (ligne[i] < '0' || ligne[i] > '9') return false;
  }
  return true;
}

}  // namespace

void RateHistoryModel::Remplir_Valeur() {
  Remplir(d_, d_.etat.Art_CentreUrssaf.get());
  Retenir(d_.etat.Art_CentreUrssaf.get());
}

void RateHistoryModel::Remplir_ValeurTemp() {
  Remplir(d_, d_.etat.ItemTemp.get());
  Retenir(d_.etat.ItemTemp.get());
}

bool RateHistoryModel::Montre(const dba::CItem& historique) const {
  return montre_ && historique.Attribute(kAttrDates).Text() == datesMontrees_ &&
         historique.Attribute(kAttrTaux).Text() == tauxMontres_;
}

void RateHistoryModel::Retenir(const dba::CItem* historique) {
  montre_ = historique != nullptr;
  if (!montre_) return;
  datesMontrees_.assign(historique->Attribute(kAttrDates).Text());
  tauxMontres_.assign(historique->Attribute(kAttrTaux).Text());
}

void RateHistoryModel::Trier_Par_Date() { Trier(d_.etat.Art_CentreUrssaf.get(), kAttrTaux); }

void RateHistoryModel::Trier_Par_DateTemp() { Trier(d_.etat.ItemTemp.get(), kAttrDates); }

// Compares stored forms, so "1/2/2024" and "01/02/2024" are one date. The
// selected line is the one being modified and is not compared with itself.
// A line without a readable date is passed over; a typed date that is not
// valid cannot be compared at all and is left to the date box's own check.
bool RateHistoryModel::DateEnDouble() {
  auto& e = d_.ecran;
  utilitaires::Utilitaires& u = d_.Utilitaires();
  const std::string saisie = u.Convertir_DateStockage(e.Txt_Date.Text());
  if (saisie.empty()) return false;
  const auto jour = utilitaires::ValeurNumerique(saisie);

  // A date has one dd/mm/yyyy writing, the one the list shows: a line of
  // that shape is the typed date exactly when it reads the same, and only
  // other lines need converting (32767 lines are checked at each "Ok").
  const std::string affichee = u.Convertir_DateAffichage(saisie);
  const int modifiee = e.Lst_Date.ListIndex();
  const std::vector<std::string>& lignes = e.Lst_Date.Items();  // read in place
  for (int i = 0, n = static_cast<int>(lignes.size()); i < n; ++i) {
    if (i == modifiee) continue;
    const std::string& ligne = lignes[static_cast<std::size_t>(i)];
    if (EstDateAffichee(ligne)) {
      if (ligne != affichee) continue;
    } else {
      const std::string stockee = u.Convertir_DateStockage(ligne);
      if (stockee.empty() || utilitaires::ValeurNumerique(stockee) != jour) continue;
    }
    d_.services.MsgBox("2 valeurs ne peuvent pas avoir la même date d'effet.",
                       forms::MsgButtons::OK, forms::MsgIcon::Exclamation, state::kTitreMessage);
    return true;
  }
  return false;
}

void RateHistoryModel::Chevauchement() { d_.etat.ErreurChevauchement = DateEnDouble(); }

}  // namespace morvanel::ratehistory
