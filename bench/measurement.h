// The benchmark's measurements: each names one piece of logical work done
// once through the multivalue database or the control ("ours") and once
// with the plainest reads that produce the same result ("baseline"). A new measurement is a new
// file with a Register function listed in measurements.cpp. Benchmark program (bench/).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "baseline.h"
#include "dba/database.h"

namespace bench {

struct ControlBench;  // control_fixture.h

struct BenchConfig {
  bool quick = false;
  bool cpuTime = false;  // time runs by the thread's processor time
  int scale = 700;       // 300 case records per unit: 210,000 by default
  int runs = 15;         // timed rounds (one run of each side); medians and ranges are reported
  std::vector<std::string> only;  // names to run; empty = all
};

// What every measurement may use. The two databases hold the same records.
struct BenchContext {
  dba::Database& db;
  Baseline& base;
  const BenchConfig& config;
  std::vector<demo::DemoRecord> cases;              // every ELTSPARTEMP record as seeded
  std::string centre;                               // the centre the selections look for
  std::shared_ptr<ControlBench> control = nullptr;  // made by the first control measurement

  // `count` case records drawn at random, the same for a given run number.
  [[nodiscard]] std::vector<const demo::DemoRecord*> RandomCases(int run, int count) const;
};

// Measurements that change records or must see no index run first; the
// index on ELTSPARTEMP attribute 1 is built between the two phases.
enum class Phase { kWithoutIndex, kWithIndex };

struct Measurement {
  std::string name;
  Phase phase = Phase::kWithoutIndex;
  double target = 0;  // largest acceptable ours/baseline ratio; 0 = none
  // Operations one run performs (the reported times are per operation).
  std::function<int(const BenchConfig&)> operations;
  // One run of each side. Each returns a digest of what it produced, which
  // must be equal for the two sides (a check that they did the same work).
  std::function<std::string(BenchContext&, int run)> ours;
  std::function<std::string(BenchContext&, int run)> baseline;
  // Largest acceptable time of one operation of ours in microseconds,
  // whatever the baseline does (a screen step must fit in one frame); 0 = none.
  double frameUs = 0;
  // Untimed, before each run of ours (the warm-up included): puts back the
  // state one operation starts from. May be empty.
  std::function<void(BenchContext&, int run)> prepare = nullptr;
};

using Registry = std::vector<Measurement>;

// Every measurement, in the order they run within a phase.
[[nodiscard]] Registry AllMeasurements();

void RegisterPointMeasurements(Registry& r);    // dbread, dbwrite
void RegisterSelectMeasurements(Registry& r);   // select_scan, select_indexed, sselect_centres
void RegisterBatchMeasurements(Registry& r);    // rmw_batch
void RegisterHistoryMeasurements(Registry& r);  // show_history_32767, sort_history_32767
void RegisterPickerMeasurements(Registry& r);   // pickers_500x5000
// save_history_32767, transfer_10000 (after every other control measurement).
void RegisterWorkflowMeasurements(Registry& r);
// qt_history_32767, a copy of show_history_32767 with a Qt view; with Qt only.
void RegisterQtHistoryMeasurements(Registry& r);
// add_line_32766 (with the Qt view when Qt is built).
void RegisterRateEditorMeasurements(Registry& r);
// `m` with a Qt view mirroring the control's screen: its step ends with the
// events that follow (layout, repaint). Qt builds only.
[[nodiscard]] Measurement WithQtView(Measurement m);

// The PostgreSQL measurements on database `uri` (pg_bench.cpp).
int RunPostgres(const std::string& uri, const BenchConfig& config);

// Joins texts with the attribute mark, as a selection result holds its records.
[[nodiscard]] std::string JoinRecords(const std::vector<std::string>& parts);

}  // namespace bench
