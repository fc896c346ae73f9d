// morvanel_bench: seeds a demo database and the same records into a raw
// SQLite baseline, then prints one line per measurement:
//   NAME ours=…us baseline=…us ratio=R target=T [frame=Fms] ok|MISSED|MISMATCH
// Times are per operation, medians of several runs. Benchmark program.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "demo/demo_data.h"
#include "demo/demo_seed.h"
#include "measurement.h"

namespace fs = std::filesystem;

namespace bench {
namespace {

struct Options {
  BenchConfig config;
  std::string dbPath;  // empty: a temporary directory
};

[[noreturn]] void Usage() {
  std::cerr << "usage: morvanel_bench [--quick] [--db PATH] [--scale N] [--runs N] [--only NAME]...\n"
               "  --quick     small database (3,000 case records), runs in seconds\n"
               "  --db PATH   keep the database at PATH (must not exist) and the\n"
               "              baseline at PATH.baseline.sqlite\n";
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
  if (o.config.quick && !runsGiven) o.config.runs = 3;
  return o;
}

double Seconds(const std::function<void()>& body) {
  const auto start = std::chrono::steady_clock::now();
  body();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
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

// Runs both sides alternately so that drift of the machine hits both alike.
void Run(const Measurement& m, BenchContext& ctx) {
  const auto prepare = [&](int run) {
    if (m.prepare) m.prepare(ctx, run);
  };
  const double ops = m.operations(ctx.config);
  prepare(0);
  const bool same = m.ours(ctx, 0) == m.baseline(ctx, 0);  // warm-up and check
  std::vector<double> ours, base;
  for (int run = 1; run <= ctx.config.runs; ++run) {
    prepare(run);
    ours.push_back(Seconds([&] { (void)m.ours(ctx, run); }) / ops * 1e6);
    base.push_back(Seconds([&] { (void)m.baseline(ctx, run); }) / ops * 1e6);
  }
  const double o = Median(ours), b = Median(base);
  const double ratio = b > 0 ? o / b : 0;
  char target[16] = "none";
  if (m.target > 0) std::snprintf(target, sizeof target, "%.1f", m.target);
  char frame[32] = "";
  if (m.frameUs > 0) std::snprintf(frame, sizeof frame, " frame=%gms", m.frameUs / 1000);
  std::printf("%s ours=%.3fus baseline=%.3fus ratio=%.2f target=%s%s %s\n", m.name.c_str(), o, b,
              ratio, target, frame, Verdict(m, same, o, ratio));
  std::fflush(stdout);
}

int Main(int argc, char** argv) {
  const Options o = ParseOptions(argc, argv);
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
    const double ourSeed = Seconds([&] {
      s = demo::SeedDemo(*db, {.scale = o.config.scale, .createIndexes = false});
    });
    const double baseSeed = Seconds([&] {
      base.Load(demo::kFileCentres, demo::DemoCentres());
      base.Load(demo::kFileCases, ctx.cases);
    });
    std::printf("# %d case records, %d centres; seeding %.2fs (baseline load %.2fs); %d runs, "
                "median time per operation\n",
                s.cases, s.centres, ourSeed, baseSeed, o.config.runs);

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
  try {
    return bench::Main(argc, argv);
  } catch (const dba::DbaError& e) {
    std::fprintf(stderr, "morvanel_bench: database error 0x%08X: %s\n", e.number(), e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanel_bench: %s\n", e.what());
  }
  return 1;
}
