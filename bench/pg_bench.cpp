// morvanel_bench --pg URI: the database component on PostgreSQL against raw
// libpq doing the same logical work in the same run (prepared statements,
// binary parameters, one plain table per file: key bytea primary key, body
// bytea; one (value, key) table per index). Rounds interleave as in the
// SQLite measurements. Benchmark program (bench/).
#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "baseline.h"
#include "components/client.h"
#include "components/droits/droits_utilisateur.h"
#include "forms/headless/headless_services.h"
#include "forms/user_input.h"
#include "morvanel/shell/ctr_urssaf.h"
#include "dba/citem.h"
#include "dba/redact.h"
#include "demo/demo_data.h"
#include "demo/demo_seed.h"
#include "measurement.h"
#include "rounds.h"

namespace bench {
namespace {

// A libpq session with prepared statements taking bytea (binary) parameters.
class Raw {
 public:
  explicit Raw(const std::string& uri) : c_(PQconnectdb(uri.c_str())) {
    if (PQstatus(c_) != CONNECTION_OK) throw std::runtime_error(PQerrorMessage(c_));
  }
  ~Raw() { PQfinish(c_); }
  Raw(const Raw&) = delete;
  Raw& operator=(const Raw&) = delete;

  void Exec(const std::string& sql) { Check(PQexec(c_, sql.c_str()), sql); }
  void Prepare(const std::string& name, const std::string& sql) {
    Check(PQprepare(c_, name.c_str(), sql.c_str(), 0, nullptr), sql);
  }
  // Runs a prepared statement; every parameter is bytes, every result binary.
  PGresult* Run(const std::string& name, const std::vector<std::string_view>& params) {
    std::vector<const char*> values;
    std::vector<int> lengths, formats;
    for (std::string_view p : params) {
      values.push_back(p.data());
      lengths.push_back(static_cast<int>(p.size()));
      formats.push_back(1);
    }
    return Check(PQexecPrepared(c_, name.c_str(), static_cast<int>(params.size()), values.data(),
                                lengths.data(), formats.data(), 1),
                 name);
  }
  void RunAndClear(const std::string& name, const std::vector<std::string_view>& params) {
    PQclear(Run(name, params));
  }

 private:
  PGresult* Check(PGresult* r, const std::string& what) {
    const ExecStatusType s = PQresultStatus(r);
    if (s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK) return r;
    const std::string why = PQresultErrorMessage(r);
    PQclear(r);
    throw std::runtime_error(what + ": " + why);
  }
  PGconn* c_;
};

std::string Value(PGresult* r, int row, int col) {
  return std::string(PQgetvalue(r, row, col), static_cast<std::size_t>(PQgetlength(r, row, col)));
}

struct PgContext {
  dba::Database& db;
  Raw& raw;
  const BenchConfig& config;
  std::vector<demo::DemoRecord> cases;
  std::string centre = "07";
  std::vector<const demo::DemoRecord*> Random(int run, int count) const {
    std::mt19937 rng(static_cast<unsigned>(1000 + run));
    std::vector<const demo::DemoRecord*> picked;
    for (int i = 0; i < count; ++i) picked.push_back(&cases[rng() % cases.size()]);
    return picked;
  }
};

struct PgMeasurement {
  std::string name;
  double target;
  int operations;
  std::function<std::string(PgContext&, int)> ours, baseline;
  std::function<void(PgContext&, int)> prepare = nullptr;
};

// Loads records into a plain table, 5,000 a statement.
void Load(Raw& raw, const std::string& table, const std::vector<demo::DemoRecord>& records) {
  raw.Exec("DROP TABLE IF EXISTS " + table + ", " + table + "_a1");
  raw.Exec("CREATE TABLE " + table + "(key bytea PRIMARY KEY, body bytea NOT NULL)");
  for (std::size_t from = 0; from < records.size(); from += 5000) {
    std::string sql = "INSERT INTO " + table + " VALUES ";
    const std::size_t to = std::min(records.size(), from + 5000);
    std::vector<std::string_view> params;
    for (std::size_t i = from; i < to; ++i) {
      sql += (i > from ? ",($" : "($") + std::to_string(2 * (i - from) + 1) + "::bytea,$" +
             std::to_string(2 * (i - from) + 2) + "::bytea)";
      params.push_back(records[i].key);
      params.push_back(records[i].text);
    }
    raw.Prepare("load", sql);
    raw.RunAndClear("load", params);
    raw.Exec("DEALLOCATE load");
  }
}

// The (value, key) index table of attribute 1, one row per value.
void BuildIndex(Raw& raw, const std::string& table, const std::vector<demo::DemoRecord>& records) {
  raw.Exec("CREATE TABLE " + table + "_a1(value bytea, key bytea, PRIMARY KEY(value, key))");
  raw.Prepare("ix_" + table, "INSERT INTO " + table +
                                 "_a1 VALUES($1::bytea, $2::bytea)"
                                 " ON CONFLICT DO NOTHING");
  raw.Exec("BEGIN");
  for (const demo::DemoRecord& r : records) {
    const std::string_view field = AttributeOf(r.text, 1);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= field.size(); ++i) {
      if (i == field.size() || field[i] == dba::kValueMark || field[i] == dba::kSubvalueMark) {
        raw.RunAndClear("ix_" + table, {field.substr(start, i - start), r.key});
        start = i + 1;
      }
    }
  }
  raw.Exec("COMMIT");
}

// --- the measurements ---

std::string ReadOurs(PgContext& ctx, int run) {
  dba::DBFile file = ctx.db.DBOpen(demo::kFileCases);
  std::size_t bytes = 0;
  for (const auto* r : ctx.Random(run, ctx.config.quick ? 2000 : 20000)) {
    bytes += file.DBRead(r->key).Item().size();
  }
  return std::to_string(bytes);
}

std::string ReadBaseline(PgContext& ctx, int run) {
  std::size_t bytes = 0;
  for (const auto* r : ctx.Random(run, ctx.config.quick ? 2000 : 20000)) {
    PGresult* res = ctx.raw.Run("read", {r->key});
    if (PQntuples(res) > 0) bytes += static_cast<std::size_t>(PQgetlength(res, 0, 0));
    PQclear(res);
  }
  return std::to_string(bytes);
}

int BatchSize(const BenchConfig& c) { return c.quick ? 1000 : 10000; }

std::string BatchOurs(PgContext& ctx, int run) {
  dba::DBFile file = ctx.db.DBOpen(demo::kFileCases);
  const auto picked = ctx.Random(run + 2000, BatchSize(ctx.config));
  dba::Transaction t(ctx.db);
  for (const auto* r : picked) {
    dba::CItem record = file.DBRead(r->key);
    record.setItem(4, "RMW " + std::to_string(run));
    record.DBWrite();
  }
  t.Commit();
  return std::to_string(picked.size());
}

std::string BatchBaseline(PgContext& ctx, int run) {
  const auto picked = ctx.Random(run + 2000, BatchSize(ctx.config));
  ctx.raw.Exec("BEGIN");
  for (const auto* r : picked) {
    PGresult* res = ctx.raw.Run("read", {r->key});
    const std::string body = PQntuples(res) > 0 ? Value(res, 0, 0) : std::string();
    PQclear(res);
    const std::string changed = ReplaceAttribute(body, 4, "RMW " + std::to_string(run));
    ctx.raw.RunAndClear("update", {changed, r->key});
  }
  ctx.raw.Exec("COMMIT");
  return std::to_string(picked.size());
}

int IndexedQueries(const BenchConfig& c) { return c.quick ? 50 : 20; }

std::string IndexedOurs(PgContext& ctx, int /*run*/) {
  dba::CItem request;
  request.setItem(1, "SSELECT ELTSPARTEMP AVEC 1 = \"" + ctx.centre + "\"");
  request.setItem(2, demo::kFileCases);
  request.setItem(3, "0");
  std::string result;
  for (int i = 0; i < IndexedQueries(ctx.config); ++i)
    result = ctx.db.DBSelect(request.Item()).Item();
  return result;
}

std::string IndexedBaseline(PgContext& ctx, int /*run*/) {
  std::string result;
  for (int i = 0; i < IndexedQueries(ctx.config); ++i) {
    PGresult* res = ctx.raw.Run("keys", {ctx.centre});
    std::vector<std::string> keys;
    for (int row = 0; row < PQntuples(res); ++row) keys.push_back(Value(res, row, 0));
    PQclear(res);
    result = JoinRecords(keys);
  }
  return result;
}

// The same indexed equality returning two attributes of each record: the
// key and attribute 2, whose value marks turn into subvalue marks.
std::string IndexedColumnsOurs(PgContext& ctx, int /*run*/) {
  dba::CItem request;
  request.setItem(1, "SELECT ELTSPARTEMP AVEC 1 = \"" + ctx.centre + "\"");
  request.setItem(2, demo::kFileCases);
  request.setItem(3, "0 2");
  std::string result;
  for (int i = 0; i < IndexedQueries(ctx.config); ++i)
    result = ctx.db.DBSelect(request.Item()).Item();
  return result;
}

std::string IndexedColumnsBaseline(PgContext& ctx, int /*run*/) {
  std::string result;
  for (int i = 0; i < IndexedQueries(ctx.config); ++i) {
    PGresult* res = ctx.raw.Run("key_bodies", {ctx.centre});
    std::vector<std::string> lines;
    for (int row = 0; row < PQntuples(res); ++row) {
      std::string line = Value(res, row, 0);
      line += dba::kValueMark;
      const std::string_view body(PQgetvalue(res, row, 1),
                                  static_cast<std::size_t>(PQgetlength(res, row, 1)));
      for (const char c : AttributeOf(body, 2)) {
        line += c == dba::kValueMark ? dba::kSubvalueMark : c;
      }
      lines.push_back(std::move(line));
    }
    PQclear(res);
    result = JoinRecords(lines);
  }
  return result;
}

// transfer_10000: the centre's case records moved to another centre
// through the index, then the centre deleted, in one transaction. The two
// centres take turns, as in the SQLite measurement.
const char* Source(int run) { return run % 2 == 0 ? "91" : "92"; }
const char* Target(int run) { return run % 2 == 0 ? "92" : "91"; }

void PrepareTransfer(PgContext& ctx, int run) {
  dba::CItem c = ctx.db.DBOpen("TCENTRES").DBNew(Source(run));
  c.setItem(1, std::string("URSSAF TRANSFERT ") + Source(run));
  c.DBWrite();
}

std::string TransferOurs(PgContext& ctx, int run) {
  dba::Transaction t(ctx.db);
  int found = 0;
  const dba::CItem keys =
      ctx.db.DBSelect(std::string("SELECT TCASES AVEC 1 = \"") + Source(run) + "\"" +
                          dba::kAttributeMark + "TCASES" + dba::kAttributeMark + "0",
                      "", &found);
  dba::DBFile cases = ctx.db.DBOpen("TCASES");
  // One pass over the list: Item(i) would rescan it from its start.
  std::vector<std::string> list;
  list.reserve(static_cast<std::size_t>(found));
  for (const dba::CItem::AttributeView key : keys.Attributes()) list.emplace_back(key.Text());
  for (dba::CItem& r : cases.DBReadMany(list)) {
    r.setItem(1, Target(run));
    r.DBWrite();
  }
  ctx.db.DBOpen("TCENTRES").DBDelete(Source(run));
  t.Commit();
  return "moved=" + std::to_string(found);
}

std::string TransferBaseline(PgContext& ctx, int run) {
  const std::string source = Source(run), target = Target(run);
  ctx.raw.Exec("BEGIN");
  ctx.raw.RunAndClear("t_centre", {source, "URSSAF TRANSFERT " + source});
  // The bodies come with their keys; then one statement per record
  // rewrites it and its index entry.
  PGresult* res = ctx.raw.Run("t_bodies", {source});
  const int moved = PQntuples(res);
  for (int row = 0; row < moved; ++row) {
    const std::string key = Value(res, row, 0);
    ctx.raw.RunAndClear("t_move",
                        {ReplaceAttribute(Value(res, row, 1), 1, target), target, key, source});
  }
  PQclear(res);
  ctx.raw.RunAndClear("t_drop", {source});
  ctx.raw.Exec("COMMIT");
  return "moved=" + std::to_string(moved);
}

// The statements (each a round trip) that a clerk's actions cost on this
// database: Init, centre "07" shown, "OK" on a change of its name, a
// creation, and the deletion of the centre created (no case records).
void PrintStatements(const std::shared_ptr<dba::Database>& db, int scale) {
  demo::RegisterDemoRoutines(*db);
  forms::headless::HeadlessServices services;
  services.SetDefaultAnswer(forms::MsgAnswer::OK);
  morvanel::shell::Ctr_Urssaf ctl(services);
  ctl.TheDatabase(db);
  ctl.TheClient(std::make_shared<components::Client>("C1", "Société de mesure", "bench"));
  ctl.DroitsUtilisateur(components::DroitsUtilisateur::Fixe({{"CENTREURSSAF", 2}}));
  forms::UserInput input(ctl.Controls(), services);
  auto control = [&](const char* name) -> forms::Control& { return ctl.Controls().Get(name); };
  auto count = [&](auto action) {
    const std::uint64_t before = db->Statements();
    action();
    return db->Statements() - before;
  };
  const std::uint64_t init = count([&] { ctl.Init(); });
  const std::uint64_t show = count([&] { input.Type(control("Txt_CodCtrUrssaf"), "07"); });
  const std::uint64_t ok = count([&] {
    input.Type(control("Txt_NomCtrUrssaf"), " (mesure)");
    input.Click(control("Cmd_OK"));
  });
  input.Click(control("Cmd_Ajouter"));
  input.Type(control("Txt_SigleCtrUrssaf"), "MESURE");
  input.Type(control("Txt_NomCtrUrssaf"), "Urssaf de mesure");
  input.Type(control("Txt_CodOrgCtrUrssaf"), "117");
  input.Pick(control("Cbo_Entite"), 0);
  if (control("Cbo_Etab").Enabled()) input.Pick(control("Cbo_Etab"), 0);
  const std::uint64_t creation = count([&] { input.Click(control("Cmd_OK")); });
  const std::string key = db->DBOpen("COMPTEUR").DBRead("999").Item(12);
  input.Type(control("Txt_CodCtrUrssaf"), key);
  services.QueueAnswer(forms::MsgAnswer::Yes);
  const std::uint64_t deletion = count([&] { input.Click(control("Cmd_Supprimer")); });
  const bool done = db->DBOpen("CENTREURSSAF").DBRead(key).Item().empty() &&
                    services.takeMessages().size() == 1;  // the deletion's question only
  std::printf(
      "pg_statements scale=%d init=%llu show=%llu ok=%llu creation=%llu deletion=%llu "
      "target=8/3/8/10/8 %s\n",
      scale, static_cast<unsigned long long>(init), static_cast<unsigned long long>(show),
      static_cast<unsigned long long>(ok), static_cast<unsigned long long>(creation),
      static_cast<unsigned long long>(deletion),
      !done                                                                  ? "MISMATCH"
      : init <= 8 && show <= 3 && ok <= 8 && creation <= 10 && deletion <= 8 ? "ok"
                                                                             : "MISSED");
  std::fflush(stdout);
}

void Run(const PgMeasurement& m, PgContext& ctx) {
  if (m.prepare) m.prepare(ctx, 0);
  const bool same = m.ours(ctx, 0) == m.baseline(ctx, 0);
  const RoundFigures f = Interleave(
      ctx.config.runs,
      [&](int run) {
        if (m.prepare) m.prepare(ctx, run);
        return Seconds([&] { (void)m.ours(ctx, run); }) / m.operations * 1e6;
      },
      [&](int run) { return Seconds([&] { (void)m.baseline(ctx, run); }) / m.operations * 1e6; });
  const Spread &o = f.ours, &b = f.baseline, &r = f.ratio;
  std::printf(
      "pg_%s ours=%.3fus (%.3f-%.3f) baseline=%.3fus (%.3f-%.3f) ratio=%.2f (%.2f-%.2f) "
      "target=%.1f %s\n",
      m.name.c_str(), o.median, o.min, o.max, b.median, b.min, b.max, r.median, r.min, r.max,
      m.target,
      !same                  ? "MISMATCH"
      : r.median <= m.target ? "ok"
                             : "MISSED");
  std::fflush(stdout);
}

}  // namespace

int RunPostgres(const std::string& uri, const BenchConfig& config) {
  auto db = dba::Database::Open(uri, {.create = true});
  if (!db->Files().empty()) {
    throw std::runtime_error(dba::RedactSecrets(uri) +
                             " holds multivalue files already; give an empty database");
  }
  Raw raw(uri);
  raw.Exec("SET client_min_messages = warning");
  PgContext ctx{*db, raw, config, demo::DemoCases(config.scale)};
  const int transferSize = config.quick ? 1000 : 10000;

  demo::SeedSummary s;
  const double ourSeed =
      Seconds([&] { s = demo::SeedDemo(*db, {.scale = config.scale, .createIndexes = false}); });
  const double baseSeed = Seconds([&] { Load(raw, "b_cases", ctx.cases); });
  std::vector<demo::DemoRecord> transfer;
  for (int i = 0; i < transferSize; ++i) {
    dba::CItem r;
    r.setItem(1, "91");
    r.setItem(2, "DOSSIER " + std::to_string(i));
    char key[16];
    std::snprintf(key, sizeof key, "T%06d", i);
    transfer.push_back({key, r.Item()});
  }
  db->CreateFile("TCENTRES");
  db->CreateFile("TCASES");
  {
    dba::Transaction t(*db);
    dba::DBFile f = db->DBOpen("TCASES");
    for (const auto& r : transfer) {
      dba::CItem item = f.DBNew(r.key);
      item.setItem(r.text);
      item.DBWrite();
    }
    t.Commit();
  }
  db->CreateIndex("TCASES", 1);
  Load(raw, "b_tcases", transfer);
  BuildIndex(raw, "b_tcases", transfer);
  raw.Exec("DROP TABLE IF EXISTS b_tcentres");
  raw.Exec("CREATE TABLE b_tcentres(key bytea PRIMARY KEY, body bytea NOT NULL)");
  raw.Prepare("read", "SELECT body FROM b_cases WHERE key = $1::bytea");
  raw.Prepare("update", "UPDATE b_cases SET body = $1::bytea WHERE key = $2::bytea");
  raw.Prepare("t_centre",
              "INSERT INTO b_tcentres VALUES($1::bytea, $2::bytea)"
              " ON CONFLICT (key) DO UPDATE SET body = excluded.body");
  raw.Prepare("t_bodies",
              "SELECT a.key, c.body FROM b_tcases_a1 a JOIN b_tcases c ON c.key = a.key"
              " WHERE a.value = $1::bytea ORDER BY a.key");
  raw.Prepare("t_move",
              "WITH up AS (UPDATE b_tcases SET body = $1::bytea WHERE key = $3::bytea)"
              " UPDATE b_tcases_a1 SET value = $2::bytea WHERE value = $4::bytea"
              " AND key = $3::bytea");
  raw.Prepare("t_drop", "DELETE FROM b_tcentres WHERE key = $1::bytea");
  std::printf(
      "# PostgreSQL %s: %d case records; seeding %.2fs (baseline load %.2fs); %d rounds, "
      "ours and raw libpq in turn; elapsed time per operation: median (min-max)\n",
      dba::RedactSecrets(uri).c_str(), s.cases, ourSeed, baseSeed, config.runs);

  const std::vector<PgMeasurement> before = {
      {"dbread", 1.3, config.quick ? 2000 : 20000, ReadOurs, ReadBaseline},
      {"rmw_batch", 1.5, BatchSize(config), BatchOurs, BatchBaseline},
  };
  const std::vector<PgMeasurement> after = {
      {"select_indexed", 1.5, IndexedQueries(config), IndexedOurs, IndexedBaseline},
      {"select_indexed_columns", 1.5, IndexedQueries(config), IndexedColumnsOurs,
       IndexedColumnsBaseline},
      {"transfer_10000", 2.0, 1, TransferOurs, TransferBaseline, PrepareTransfer},
  };
  auto selected = [&](const std::string& name) {
    return config.only.empty() ||
           std::find(config.only.begin(), config.only.end(), name) != config.only.end();
  };
  for (const auto& m : before) {
    if (selected(m.name)) Run(m, ctx);
  }
  db->CreateIndex(demo::kFileCases, 1);
  BuildIndex(raw, "b_cases", ctx.cases);
  raw.Prepare("keys", "SELECT key FROM b_cases_a1 WHERE value = $1::bytea ORDER BY key");
  raw.Prepare("key_bodies",
              "SELECT a.key, c.body FROM b_cases_a1 a JOIN b_cases c ON c.key = a.key"
              " WHERE a.value = $1::bytea ORDER BY a.key");
  // Both sides planned from fresh statistics and read with a visibility map
  // set: otherwise whichever table autovacuum reached first wins.
  raw.Exec("VACUUM ANALYZE");
  for (const auto& m : after) {
    if (selected(m.name)) Run(m, ctx);
  }
  if (selected("statements")) PrintStatements(db, config.scale);
  // Leaves the database as it was found.
  for (const std::string& f : db->Files()) db->DeleteFile(f);
  raw.Exec("DROP TABLE IF EXISTS b_cases, b_cases_a1, b_tcases, b_tcases_a1, b_tcentres");
  return 0;
}

}  // namespace bench
