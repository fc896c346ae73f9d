// The list of the benchmark's measurements and the helpers they share.
// Benchmark program (bench/).
#include <random>

#include "dba/citem.h"
#include "measurement.h"

namespace bench {

Registry AllMeasurements() {
  Registry r;
  RegisterPointMeasurements(r);
  RegisterBatchMeasurements(r);
  RegisterSelectMeasurements(r);
  RegisterHistoryMeasurements(r);
  RegisterPickerMeasurements(r);
#ifdef MORVANEL_BENCH_QT
  RegisterQtHistoryMeasurements(r);  // after the step it copies
#endif
  RegisterRateEditorMeasurements(r);
  RegisterWorkflowMeasurements(r);
  return r;
}

std::vector<const demo::DemoRecord*> BenchContext::RandomCases(int run, int count) const {
  std::mt19937 rng(static_cast<unsigned>(1000 + run));
  std::vector<const demo::DemoRecord*> picked;
  picked.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) picked.push_back(&cases[rng() % cases.size()]);
  return picked;
}

std::string JoinRecords(const std::vector<std::string>& parts) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += dba::kAttributeMark;
    out += parts[i];
  }
  return out;
}

}  // namespace bench
