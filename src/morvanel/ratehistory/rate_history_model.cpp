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

#include <string>
#include <utility>
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

void Remplir(const RateHistoryDeps& d, const dba::CItem* historique) {
  auto& e = d.ecran;
  e.Lst_Valeur.Clear();
  e.Lst_Date.Clear();
  if (!historique) return;

  utilitaires::Utilitaires& u = d.Utilitaires();
  const std::vector<std::string> dates = historique->Values(kAttrDates);
  const std::vector<std::string> taux = historique->Values(kAttrTaux);
  // Each list is handed over whole: a screen redraws it once, not per line.
  std::vector<std::string> valeurs, jours;
  valeurs.reserve(dates.size());
  jours.reserve(dates.size());
  for (std::size_t i = 0; i < dates.size(); ++i) {
    valeurs.push_back(i < taux.size() ? TexteTaux(u, taux[i]) : std::string());
    jours.push_back(u.Convertir_DateAffichage(dates[i]));
  }
  e.Lst_Valeur.AddItems(std::move(valeurs));
  e.Lst_Date.AddItems(std::move(jours));
}

// `attrCompte`: the attribute whose number of values is the number of lines.
void Trier(dba::CItem* historique, int attrCompte) {
  if (!historique) return;
  std::vector<std::string> dates = historique->Values(kAttrDates);
  std::vector<std::string> taux = historique->Values(kAttrTaux);
  const std::size_t lignes = attrCompte == kAttrDates ? dates.size() : taux.size();
  if (!TrierLignesParDate(dates, taux, lignes)) return;
  historique->setValues(kAttrDates, dates);
  historique->setValues(kAttrTaux, taux);
}

}  // namespace

void RateHistoryModel::Remplir_Valeur() { Remplir(d_, d_.etat.Art_CentreUrssaf.get()); }

void RateHistoryModel::Remplir_ValeurTemp() { Remplir(d_, d_.etat.ItemTemp.get()); }

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

  const int modifiee = e.Lst_Date.ListIndex();
  const std::vector<std::string>& lignes = e.Lst_Date.Items();  // read in place: 32767 lines
  for (int i = 0, n = static_cast<int>(lignes.size()); i < n; ++i) {
    if (i == modifiee) continue;
    const std::string ligne = u.Convertir_DateStockage(lignes[static_cast<std::size_t>(i)]);
    if (ligne.empty() || utilitaires::ValeurNumerique(ligne) != jour) continue;
    d_.services.MsgBox("2 valeurs ne peuvent pas avoir la même date d'effet.",
                       forms::MsgButtons::OK, forms::MsgIcon::Exclamation, state::kTitreMessage);
    return true;
  }
  return false;
}

void RateHistoryModel::Chevauchement() { d_.etat.ErreurChevauchement = DateEnDouble(); }

}  // namespace morvanel::ratehistory
