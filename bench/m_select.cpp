// Selection measurements: the case records of one centre with and without
// an index on attribute 1, and the sorted centre list the control shows.
// Benchmark program (bench/).
#include <algorithm>
#include <utility>

#include "dba/citem.h"
#include "measurement.h"

namespace bench {
namespace {

const char* const kCases = "ELTSPARTEMP";
const char* const kCentres = "CENTREURSSAF";

std::string Select(dba::Database& db, const std::string& sentence, const std::string& file,
                   const char* columns) {
  dba::CItem request;
  request.setItem(1, sentence);
  request.setItem(2, file);
  request.setItem(3, columns);
  return db.DBSelect(request.Item()).Item();
}

int CaseQueries(const BenchConfig& c) { return c.quick ? 20 : 2; }
int IndexedQueries(const BenchConfig& c) { return c.quick ? 50 : 20; }
int CentreQueries(const BenchConfig& c) { return c.quick ? 200 : 2000; }

std::string CasesOfCentre(BenchContext& ctx, int queries) {
  const std::string sentence = "SSELECT ELTSPARTEMP AVEC 1 = \"" + ctx.centre + "\"";
  std::string result;
  for (int i = 0; i < queries; ++i) result = Select(ctx.db, sentence, kCases, "0");
  return result;
}

std::string ScanBaseline(BenchContext& ctx, int /*run*/) {
  // The table's own order is the key's: no sort.
  Statement scan(ctx.base.Handle(),
                 "SELECT key, body FROM " + Baseline::Table(kCases) + " ORDER BY key");
  std::string result;
  for (int i = 0; i < CaseQueries(ctx.config); ++i) {
    std::vector<std::string> keys;
    while (scan.Step()) {
      if (AttributeOf(scan.Column(1), 1) == ctx.centre) keys.emplace_back(scan.Column(0));
    }
    scan.Reset();
    result = JoinRecords(keys);
  }
  return result;
}

std::string IndexedBaseline(BenchContext& ctx, int /*run*/) {
  // The index's primary key (value, key) returns one value's keys sorted.
  Statement lookup(ctx.base.Handle(), "SELECT key FROM " + Baseline::IndexTable(kCases, 1) +
                                          " WHERE value = ? ORDER BY key");
  std::string result;
  for (int i = 0; i < IndexedQueries(ctx.config); ++i) {
    std::vector<std::string> keys;
    lookup.BindBlob(1, ctx.centre);
    while (lookup.Step()) keys.emplace_back(lookup.Column(0));
    lookup.Reset();
    result = JoinRecords(keys);
  }
  return result;
}

std::string CentresOurs(BenchContext& ctx, int /*run*/) {
  std::string result;
  for (int i = 0; i < CentreQueries(ctx.config); ++i) {
    result = Select(ctx.db, "SSELECT CENTREURSSAF PAR 1", kCentres, "0 1");
  }
  return result;
}

std::string CentresBaseline(BenchContext& ctx, int /*run*/) {
  // Rows come in key order: a stable sort on attribute 1 leaves ties by key.
  Statement scan(ctx.base.Handle(),
                 "SELECT key, body FROM " + Baseline::Table(kCentres) + " ORDER BY key");
  std::string result;
  for (int i = 0; i < CentreQueries(ctx.config); ++i) {
    std::vector<std::pair<std::string, std::string>> rows;  // (attribute 1, key)
    while (scan.Step()) rows.emplace_back(AttributeOf(scan.Column(1), 1), scan.Column(0));
    scan.Reset();
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<std::string> lines;
    for (const auto& [sigle, key] : rows) lines.push_back(key + dba::kValueMark + sigle);
    result = JoinRecords(lines);
  }
  return result;
}

}  // namespace

void RegisterSelectMeasurements(Registry& r) {
  r.push_back({"select_scan", Phase::kWithoutIndex, 1.5, CaseQueries,
               [](BenchContext& ctx, int) { return CasesOfCentre(ctx, CaseQueries(ctx.config)); },
               ScanBaseline});
  r.push_back(
      {"sselect_centres", Phase::kWithoutIndex, 1.5, CentreQueries, CentresOurs, CentresBaseline});
  r.push_back(
      {"select_indexed", Phase::kWithIndex, 1.3, IndexedQueries,
       [](BenchContext& ctx, int) { return CasesOfCentre(ctx, IndexedQueries(ctx.config)); },
       IndexedBaseline});
}

}  // namespace bench
