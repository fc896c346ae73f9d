// The rate editor's "Ok" adding a line to a centre whose history holds
// 32766 lines: stored, re-sorted and both lists refilled within one frame,
// with the Qt view of the screen redrawn when Qt is built. Benchmark program.
#include <algorithm>
#include <cstdint>
#include <numeric>

#include "control_fixture.h"
#include "dba/citem.h"
#include "morvanel/ratehistory/rate_lines.h"
#include "morvanel/state/instance_state.h"
#include "morvanel/state/urssaf_screen.h"
#include "utilitaires/utilitaires.h"

namespace bench {
namespace {

constexpr double kFrameUs = 16000;
constexpr int kAttrDates = 20;
constexpr int kAttrRates = 21;
// Older than every generated date: never refused as a duplicate.
constexpr const char* kNewDate = "15/06/1969";
constexpr const char* kNewRate = "6,85";
constexpr const char* kNewRateStored = "6850";

int OneStep(const BenchConfig&) { return 1; }

// The long-history centre less its last line, newest first, as the editor
// leaves it after an earlier "Ok".
const std::string& CentreOf32766(const ControlBench& b) {
  static const std::string text = [&b] {
    dba::CItem c(b.bigCentre);
    std::vector<std::string> dates = c.Values(kAttrDates);
    std::vector<std::string> rates = c.Values(kAttrRates);
    dates.resize(kHistoryLines - 1);
    rates.resize(kHistoryLines - 1);
    morvanel::ratehistory::TrierLignesParDate(dates, rates, dates.size());
    c.setValues(kAttrDates, dates);
    c.setValues(kAttrRates, rates);
    return c.Item();
  }();
  return text;
}

std::string Digest(std::size_t lines, const std::string& first, const std::string& second,
                   const std::string& last, std::size_t messages) {
  return "lines=" + std::to_string(lines) + " first=" + first + " second=" + second +
         " last=" + last + " messages=" + std::to_string(messages);
}

// The centre on screen with 32766 lines, "Ajouter" clicked and the line
// typed: what the clerk has done before pressing "Ok".
void PrepareAdd(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  morvanel::state::UrssafScreen& e = b.ctl->Ecran();
  if (e.Txt_CodCtrUrssaf.Text() != kBigCentre) {
    b.ctl->Vider_Donnees();
    b.input->Type(e.Txt_CodCtrUrssaf, kBigCentre);
  }
  b.ctl->Etat().Art_CentreUrssaf->setItem(CentreOf32766(b));
  b.ctl->Remplir_Valeur();
  b.input->Click(e.Cmd_AjouterRapport);
  b.input->Type(e.Txt_Date, kNewDate);
  b.input->Type(e.Txt_Valeur, kNewRate);
  (void)b.services.takeMessages();
}

std::string AddOurs(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  const morvanel::state::UrssafScreen& e = b.ctl->Ecran();
  b.input->Click(e.Cmd_OkRapport);
  const int n = e.Lst_Date.ListCount();
  return Digest(static_cast<std::size_t>(std::min(n, e.Lst_Valeur.ListCount())), e.Lst_Date.List(0),
                e.Lst_Date.List(1), e.Lst_Date.List(n - 1), b.services.messages().size());
}

// The two columns split out of the record text, the line appended, the
// lines reordered newest first (stable) and written back, and the dates of
// the lines the digest shows turned into text.
std::string AddBaseline(BenchContext& ctx, int /*run*/) {
  ControlBench& b = Control(ctx);
  const std::string& text = CentreOf32766(b);
  std::vector<std::string> dates = SplitAt(AttributeOf(text, kAttrDates), dba::kValueMark);
  std::vector<std::string> rates = SplitAt(AttributeOf(text, kAttrRates), dba::kValueMark);
  const utilitaires::Utilitaires u;
  dates.push_back(u.Convertir_DateStockage(kNewDate));
  rates.resize(dates.size() - 1);
  rates.push_back(kNewRateStored);
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
    sortedRates.push_back(std::move(rates[i]));
  }
  dba::CItem sorted(text);
  sorted.setValues(kAttrDates, sortedDates);
  sorted.setValues(kAttrRates, sortedRates);
  return Digest(sortedDates.size(), u.Convertir_DateAffichage(sortedDates[0]),
                u.Convertir_DateAffichage(sortedDates[1]),
                u.Convertir_DateAffichage(sortedDates.back()), 0);
}

}  // namespace

void RegisterRateEditorMeasurements(Registry& r) {
  Measurement m{"add_line_32766", Phase::kWithoutIndex, 2.5,      OneStep,
                AddOurs,          AddBaseline,          kFrameUs, PrepareAdd};
#ifdef MORVANEL_BENCH_QT
  m = WithQtView(std::move(m));
#endif
  r.push_back(std::move(m));
}

}  // namespace bench
