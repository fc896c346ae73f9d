// Batched read-modify-write: many records read, changed and written back in
// one transaction, as a bulk update does. Benchmark program (bench/).
#include "measurement.h"

namespace bench {
namespace {

const char* const kCases = "ELTSPARTEMP";

int BatchSize(const BenchConfig& c) { return c.quick ? 1000 : 10000; }

std::string Stamp(int run) { return "RMW " + std::to_string(run); }

std::string BatchOurs(BenchContext& ctx, int run) {
  const auto picked = ctx.RandomCases(run + 2000, BatchSize(ctx.config));
  dba::DBFile file = ctx.db.DBOpen(kCases);
  dba::Transaction transaction(ctx.db);
  for (const demo::DemoRecord* r : picked) {
    dba::CItem record = file.DBRead(r->key);
    record.setItem(4, Stamp(run));
    record.DBWrite();
  }
  transaction.Commit();
  return std::to_string(picked.size());
}

std::string BatchBaseline(BenchContext& ctx, int run) {
  const auto picked = ctx.RandomCases(run + 2000, BatchSize(ctx.config));
  const std::string table = Baseline::Table(kCases);
  Statement select(ctx.base.Handle(), "SELECT body FROM " + table + " WHERE key = ?");
  Statement update(ctx.base.Handle(), "UPDATE " + table + " SET body = ? WHERE key = ?");
  ctx.base.Exec("BEGIN IMMEDIATE");
  for (const demo::DemoRecord* r : picked) {
    select.Bind(1, r->key);
    std::string body = select.Step() ? std::string(select.Column(0)) : std::string();
    select.Reset();
    const std::string changed = ReplaceAttribute(body, 4, Stamp(run));
    update.BindBlob(1, changed);
    update.Bind(2, r->key);
    update.Step();
    update.Reset();
  }
  ctx.base.Exec("COMMIT");
  return std::to_string(picked.size());
}

}  // namespace

void RegisterBatchMeasurements(Registry& r) {
  r.push_back({"rmw_batch", Phase::kWithoutIndex, 1.3, BatchSize, BatchOurs, BatchBaseline});
}

}  // namespace bench
