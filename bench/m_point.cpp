// Point measurements: one record read by key, one record written (each
// write its own durable commit). Benchmark program (bench/).
#include "measurement.h"

namespace bench {
namespace {

const char* const kCases = "ELTSPARTEMP";

std::string ReadOurs(BenchContext& ctx, int run) {
  const auto picked = ctx.RandomCases(run, ctx.config.quick ? 2000 : 20000);
  dba::DBFile file = ctx.db.DBOpen(kCases);
  std::size_t bytes = 0;
  for (const demo::DemoRecord* r : picked) bytes += file.DBRead(r->key).Item().size();
  return std::to_string(bytes);
}

std::string ReadBaseline(BenchContext& ctx, int run) {
  const auto picked = ctx.RandomCases(run, ctx.config.quick ? 2000 : 20000);
  Statement select(ctx.base.Handle(),
                   "SELECT body FROM " + Baseline::Table(kCases) + " WHERE key = ?");
  std::size_t bytes = 0;
  for (const demo::DemoRecord* r : picked) {
    select.Bind(1, r->key);
    if (select.Step()) bytes += std::string(select.Column(0)).size();
    select.Reset();
  }
  return std::to_string(bytes);
}

int WriteCount(const BenchConfig& c) { return c.quick ? 50 : 300; }

std::string WriteOurs(BenchContext& ctx, int run) {
  const auto picked = ctx.RandomCases(run + 500, WriteCount(ctx.config));
  dba::DBFile file = ctx.db.DBOpen(kCases);
  for (const demo::DemoRecord* r : picked) {
    dba::CItem record = file.DBNew(r->key);
    record.setItem(ReplaceAttribute(r->text, 4, "W" + std::to_string(run)));
    record.DBWrite();
  }
  return std::to_string(picked.size());
}

std::string WriteBaseline(BenchContext& ctx, int run) {
  const auto picked = ctx.RandomCases(run + 500, WriteCount(ctx.config));
  Statement upsert(
      ctx.base.Handle(),
      "INSERT INTO " + Baseline::Table(kCases) +
          "(key, body) VALUES(?, ?) ON CONFLICT(key) DO UPDATE SET body = excluded.body");
  for (const demo::DemoRecord* r : picked) {
    const std::string body = ReplaceAttribute(r->text, 4, "W" + std::to_string(run));
    upsert.Bind(1, r->key);
    upsert.BindBlob(2, body);
    upsert.Step();
    upsert.Reset();
  }
  return std::to_string(picked.size());
}

}  // namespace

void RegisterPointMeasurements(Registry& r) {
  r.push_back({"dbread", Phase::kWithoutIndex, 1.2,
               [](const BenchConfig& c) { return c.quick ? 2000 : 20000; }, ReadOurs,
               ReadBaseline});
  r.push_back({"dbwrite", Phase::kWithoutIndex, 0, WriteCount, WriteOurs, WriteBaseline});
}

}  // namespace bench
