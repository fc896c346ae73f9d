// morvanel_bench: seeds a demo database and the same records into a raw
// SQLite baseline, then prints one line per measurement:
//   NAME ours=…us (min-max) baseline=…us (min-max) ratio=R (min-max) target=T
//        [frame=Fms] ok|MISSED|MISMATCH|info
// Times are per operation: the median of several interleaved rounds and
// their range. Benchmark program.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <string>

#include "demo/demo_data.h"
#include "demo/demo_seed.h"
#include "dba/redact.h"
#include "measurement.h"
#include "rounds.h"

namespace fs = std::filesystem;

namespace bench {
namespace {

struct Options {
  BenchConfig config;
  std::string dbPath;  // empty: a temporary directory
  std::string pg;      // a PostgreSQL URI: the PostgreSQL measurements instead
};

[[noreturn]] void Usage() {
  std::cerr << "usage: morvanel_bench [--quick] [--cpu] [--db PATH] [--scale N] [--runs N] [--only "
               "NAME]...\n"
               "  --quick     small database (3,000 case records), runs in seconds\n"
               "  --cpu       time by this thread's processor time, not elapsed time\n"
               "  --runs N    timed rounds, each one run of ours and one of the baseline\n"
               "  --db PATH   keep the database at PATH (must not exist) and the\n"
               "              baseline at PATH.baseline.sqlite\n"
               "  --pg URI    on the PostgreSQL database URI (empty, made with createdb),\n"
               "              against raw libpq: dbread, rmw_batch, select_indexed,\n"
               "              select_indexed_columns, transfer_10000; and statements,\n"
               "              the statements each action of the control sends\n";
  std::exit(2);
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  bool scaleGiven = false, runsGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--quick") {
      o.config.quick = true;
    } else if (a == "--cpu") {
      o.config.cpuTime = true;
    } else if (a == "--pg" && hasValue) {
      o.pg = argv[++i];
    } else if (a == "--db" && hasValue) {
      o.dbPath = argv[++i];
    } else if (a == "--scale" && hasValue) {
      o.config.scale = std::max(1, std::atoi(argv[++i]));
      scaleGiven = true;
    } else if (a == "--runs" && hasValue) {
      o.config.runs = std::max(1, std::atoi(argv[++i]));
      runsGiven = true;
    } else if (a == "--only" && hasValue) {
      o.config.only.push_back(argv[++i]);
    } else {
      Usage();
    }
  }
  if (o.config.quick && !scaleGiven) o.config.scale = 10;
  if (o.config.quick && !runsGiven) o.config.runs = 5;
  return o;
}

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The time of one run: elapsed, or with --cpu the processor time of this
// thread, which leaves out the moments other programs had the processor
// (and the waits for the disk: no use for dbwrite).
double RunSeconds(const BenchConfig& c, const std::function<void()>& body) {
  if (!c.cpuTime) return Seconds(body);
  const double start = ThreadCpuSeconds();
  body();
  return ThreadCpuSeconds() - start;
}

// "12.345us (11.900-14.020)": enough digits for a read of a few
// microseconds, and the same unit for the three figures.
std::string Format(const Spread& s, const char* unit, int digits) {
  char out[96];
  std::snprintf(out, sizeof out, "%.*f%s (%.*f-%.*f)", digits, s.median, unit, digits, s.min,
                digits, s.max);
  return out;
}

bool Selected(const BenchConfig& c, const std::string& name) {
  return c.only.empty() || std::find(c.only.begin(), c.only.end(), name) != c.only.end();
}

const char* Verdict(const Measurement& m, bool same, double ours, double ratio) {
  if (!same) return "MISMATCH";
  if (m.target == 0 && m.frameUs == 0) return "info";
  const bool met = (m.target == 0 || ratio <= m.target) && (m.frameUs == 0 || ours <= m.frameUs);
  return met ? "ok" : "MISSED";
}

// Timed in interleaved rounds (rounds.h).
void Run(const Measurement& m, BenchContext& ctx) {
  const auto prepare = [&](int run) {
    if (m.prepare) m.prepare(ctx, run);
  };
  const double ops = m.operations(ctx.config);
  prepare(0);
  const bool same = m.ours(ctx, 0) == m.baseline(ctx, 0);  // warm-up and check
  const RoundFigures f = Interleave(
      ctx.config.runs,
      [&](int run) {
        prepare(run);
        return RunSeconds(ctx.config, [&] { (void)m.ours(ctx, run); }) / ops * 1e6;
      },
      [&](int run) {
        return RunSeconds(ctx.config, [&] { (void)m.baseline(ctx, run); }) / ops * 1e6;
      });
  const Spread &o = f.ours, &b = f.baseline, &r = f.ratio;
  char target[16] = "none";
  if (m.target > 0) std::snprintf(target, sizeof target, "%.1f", m.target);
  char frame[32] = "";
  if (m.frameUs > 0) std::snprintf(frame, sizeof frame, " frame=%gms", m.frameUs / 1000);
  std::printf("%s ours=%s baseline=%s ratio=%s target=%s%s %s\n", m.name.c_str(),
              Format(o, "us", 3).c_str(), Format(b, "us", 3).c_str(), Format(r, "", 2).c_str(),
              target, frame, Verdict(m, same, o.median, r.median));
  std::fflush(stdout);
}

int Main(int argc, char** argv) {
  const Options o = ParseOptions(argc, argv);
  if (!o.pg.empty()) {
#if MORVANEL_BENCH_PG
    return RunPostgres(o.pg, o.config);
#else
    std::cerr << "morvanel_bench: this build has no PostgreSQL (MORVANEL_POSTGRESQL=OFF).\n";
    return 2;
#endif
  }
  fs::path dir;
  fs::path dbPath = o.dbPath;
  if (dbPath.empty()) {
    std::string pattern = (fs::temp_directory_path() / "morvanel_bench.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    dir = pattern;
    dbPath = dir / "bench.mvdb";
  } else if (fs::exists(dbPath)) {
    throw std::runtime_error(dbPath.string() + " exists; give a new path");
  }

  {
    auto db = dba::Database::Open(dbPath.string(), {.create = true});
    Baseline base(dbPath.string() + ".baseline.sqlite");
    BenchContext ctx{*db, base, o.config, demo::DemoCases(o.config.scale), "07"};

    demo::SeedSummary s;
    const double ourSeed = Seconds(
        [&] { s = demo::SeedDemo(*db, {.scale = o.config.scale, .createIndexes = false}); });
    const double baseSeed = Seconds([&] {
      base.Load(demo::kFileCentres, demo::DemoCentres());
      base.Load(demo::kFileCases, ctx.cases);
    });
    std::printf(
        "# %d case records, %d centres; seeding %.2fs (baseline load %.2fs); %d rounds, "
        "ours and baseline in turn; %s per operation: median (min-max)\n",
        s.cases, s.centres, ourSeed, baseSeed, o.config.runs,
        o.config.cpuTime ? "processor time" : "elapsed time");

    const Registry all = AllMeasurements();
    for (Phase phase : {Phase::kWithoutIndex, Phase::kWithIndex}) {
      if (phase == Phase::kWithIndex) {
        db->CreateIndex(demo::kFileCases, 1);
        base.BuildIndex(demo::kFileCases, 1);
      }
      for (const Measurement& m : all) {
        if (m.phase == phase && Selected(o.config, m.name)) Run(m, ctx);
      }
    }
  }
  if (!dir.empty()) fs::remove_all(dir);
  return 0;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // The allocator keeps what is freed, as a long-running host's heap does.
  // Left to itself it hands large blocks back to the system and takes them
  // anew, so that a run pays page faults according to what the other side
  // of the round last freed: a third of a screen step's time, moving from
  // one side to the other with the order of the measurements.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
  try {
    return bench::Main(argc, argv);
  } catch (const dba::DbaError& e) {
    std::fprintf(stderr, "morvanel_bench: database error 0x%08X: %s\n", e.number(),
                 dba::RedactSecrets(e.what()).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanel_bench: %s\n", dba::RedactSecrets(e.what()).c_str());
  }
  return 1;
}
