// The control showing and re-sorting a centre whose rate history holds
// 32767 lines; each step must fit in one frame. Benchmark program (bench/).
#include <algorithm>
#include <cstdint>
#include <numeric>

#include "control_fixture.h"
#include "dba/citem.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/urssaf_screen.h"
#include "utilitaires/utilitaires.h"

namespace bench {
namespace {

constexpr double kFrameUs = 16000;
constexpr int kAttrDates = 20;
constexpr int kAttrRates = 21;

int OneStep(const BenchConfig&) { return 1; }

// What the screen shows after the step, and what it must not have done
// (a message box means the step went wrong).
std::string Shown(ControlBench& b) {
  const morvanel::state::UrssafScreen& e = b.ctl->Ecran();
  return "lines=" + std::to_string(e.Lst_Date.ListCount()) +
         " rates=" + std::to_string(e.Lst_Valeur.ListCount()) + " first=" + e.Lst_Date.List(0) +
         " second=" + e.Lst_Date.List(1) + " entities=" + std::to_string(e.Cbo_Entite.ListCount()) +
         " establishments=" + std::to_string(e.Cbo_Etab.ListCount()) +
         " messages=" + std::to_string(b.services.messages().size());
}

std::string Expected(const std::vector<std::string>& dates, std::size_t entities,
                     std::size_t establishments) {
  const utilitaires::Utilitaires u;
  const auto shown = [&](std::size_t i) {
    return i < dates.size() ? u.Convertir_DateAffichage(dates[i]) : std::string();
  };
  return "lines=" + std::to_string(dates.size()) + " rates=" + std::to_string(dates.size()) +
         " first=" + shown(0) + " second=" + shown(1) + " entities=" + std::to_string(entities) +
         " establishments=" + std::to_string(establishments) + " messages=0";
}

// Back to the search screen, so that typing the code shows the centre anew.
void PrepareShow(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  b.ctl->Vider_Donnees();
  (void)b.services.takeMessages();
}

std::string ShowOurs(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  b.input->Type(b.ctl->Ecran().Txt_CodCtrUrssaf, kBigCentre);  // the lookup shows the centre
  return Shown(b);
}

// The reads the step needs: the centre record split into its two columns,
// the entity list and the attached entity's establishments.
std::string ShowBaseline(BenchContext& ctx, int /*run*/) {
  dba::Database& db = *Control(ctx).db;
  const dba::CItem centre = db.DBOpen("CENTREURSSAF").DBRead(kBigCentre);
  const std::vector<std::string> dates = centre.Values(kAttrDates);
  const std::vector<std::string> rates = centre.Values(kAttrRates);
  const std::vector<EntityLine> entities = ReadEntities(db);
  const std::string attached = centre.Item(25).substr(0, 3);
  const std::vector<EntityLine> establishments = ReadEstablishments(db, attached);
  return Expected(dates, entities.size(), establishments.size());
}

// The centre on screen with its history as stored (shuffled), as the
// editor finds it before a re-sort.
void PrepareSort(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  if (b.ctl->Ecran().Txt_CodCtrUrssaf.Text() != kBigCentre) {
    b.ctl->Vider_Donnees();
    b.input->Type(b.ctl->Ecran().Txt_CodCtrUrssaf, kBigCentre);
  }
  b.ctl->Etat().Art_CentreUrssaf->setItem(b.bigCentre);
  (void)b.services.takeMessages();
}

std::string SortOurs(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  b.ctl->Trier_Par_Date();
  b.ctl->Remplir_Valeur();
  return Shown(b);
}

// The two columns split out of the record text, reordered newest first
// (stable, a line without a date last) and joined back.
std::string SortBaseline(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  std::vector<std::string> dates = SplitAt(AttributeOf(b.bigCentre, kAttrDates), dba::kValueMark);
  std::vector<std::string> rates = SplitAt(AttributeOf(b.bigCentre, kAttrRates), dba::kValueMark);
  std::vector<std::int64_t> day(dates.size());
  for (std::size_t i = 0; i < dates.size(); ++i) day[i] = utilitaires::ValeurNumerique(dates[i]);
  std::vector<std::size_t> order(dates.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&day](std::size_t x, std::size_t y) { return day[x] > day[y]; });
  std::vector<std::string> sortedDates, sortedRates;
  sortedDates.reserve(order.size());
  sortedRates.reserve(order.size());
  for (std::size_t i : order) {
    sortedDates.push_back(std::move(dates[i]));
    sortedRates.push_back(i < rates.size() ? std::move(rates[i]) : std::string());
  }
  dba::CItem sorted(b.bigCentre);
  sorted.setValues(kAttrDates, sortedDates);
  sorted.setValues(kAttrRates, sortedRates);
  const morvanel::state::UrssafScreen& e = b.ctl->Ecran();
  return Expected(sortedDates, static_cast<std::size_t>(e.Cbo_Entite.ListCount()),
                  static_cast<std::size_t>(e.Cbo_Etab.ListCount()));
}

}  // namespace

void RegisterHistoryMeasurements(Registry& r) {
  r.push_back({"show_history_32767", Phase::kWithoutIndex, 2, OneStep, ShowOurs, ShowBaseline,
               kFrameUs, PrepareShow});
  r.push_back({"sort_history_32767", Phase::kWithoutIndex, 1.5, OneStep, SortOurs, SortBaseline,
               kFrameUs, PrepareSort});
}

}  // namespace bench
