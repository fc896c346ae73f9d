// urssaf-scenario: plays scenario files on a headless Ctr_Urssaf over a
// database file, and stops at the first expectation that fails.
// Scenario runner (src/tools/scenario, no Qt). Commands: docs/scenarios.md.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "demo/demo_seed.h"
#include "dba/redact.h"
#ifdef MORVANEL_SCENARIO_QT
#include "qt_screen.h"
#endif
#include "scenario_script.h"
#include "scenario_session.h"
#include "version.h"

namespace {

constexpr const char* kUsage =
    "usage: urssaf-scenario --db FILE [--fresh-demo | --seed-demo] [--verbose]\n"
    "                       [--help-dir DIR] [--qt] SCENARIO...\n"
    "  --db FILE      the database holding the control's files (changes persist)\n"
    "  --fresh-demo   replace FILE by a newly seeded demo database first\n"
    "  --seed-demo    create and seed FILE first when it does not exist\n"
    "  --verbose      print each line as it runs\n"
    "  --help-dir DIR where the help pages are looked for\n"
    "  --qt           play on the Qt window with real input (offscreen without a display)\n"
    "Each SCENARIO runs on a new control; exit 0 when all pass, 1 at the first\n"
    "failure, 2 for a usage error.\n";

struct Options {
  std::string db;
  bool fresh = false;
  bool seed = false;
  bool qt = false;
  scenario::SessionOptions session;
  std::vector<std::string> files;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasNext = i + 1 < argc;
    if (a == "--db" && hasNext) {
      o.db = argv[++i];
    } else if (a == "--help-dir" && hasNext) {
      o.session.helpDir = argv[++i];
    } else if (a == "--fresh-demo") {
      o.fresh = true;
    } else if (a == "--seed-demo") {
      o.seed = true;
    } else if (a == "--qt") {
      o.qt = true;
    } else if (a == "--verbose" || a == "-v") {
      o.session.verbose = true;
    } else if (!a.empty() && a[0] == '-') {
      std::cerr << "urssaf-scenario: unknown or incomplete option " << a << "\n";
      return false;
    } else {
      o.files.push_back(a);
    }
  }
  if (o.db.empty() || o.files.empty()) {
    std::cerr << "urssaf-scenario: --db FILE (or a postgresql:// URI) and at least one scenario "
                 "are needed\n";
    return false;
  }
  return true;
}

// Whether `db` names a PostgreSQL database (a libpq URI) rather than a file.
bool IsUri(const std::string& db) {
  return db.starts_with("postgresql://") || db.starts_with("postgres://");
}

// A PostgreSQL database belongs to the administrator: "fresh" empties our
// files in it, and seeding happens when it has no centres yet.
std::shared_ptr<dba::Database> OpenServerDatabase(const Options& o) {
  auto db = dba::Database::Open(o.db, {.create = o.fresh || o.seed});
  if (o.fresh) {
    for (const std::string& file : db->Files()) db->DeleteFile(file);
  }
  const std::vector<std::string> files = db->Files();
  const bool hasCentres = std::find(files.begin(), files.end(), "CENTREURSSAF") != files.end();
  if ((o.fresh || o.seed) && !hasCentres) demo::SeedDemo(*db);
  return db;
}

std::shared_ptr<dba::Database> OpenDatabase(const Options& o) {
  namespace fs = std::filesystem;
  if (IsUri(o.db)) return OpenServerDatabase(o);
  if (o.fresh) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal", "-owners"})
      fs::remove(o.db + suffix);
  }
  if (o.fresh || (o.seed && !fs::exists(o.db))) {
    auto db = dba::Database::Open(o.db, {.create = true});
    demo::SeedDemo(*db);
    return db;
  }
  return dba::Database::Open(o.db);
}

}  // namespace

int main(int argc, char** argv) {
  if (version::Printed(argc, argv, "urssaf-scenario")) return 0;
  Options o;
#ifdef MORVANEL_SCENARIO_HELP_DIR
  o.session.helpDir = MORVANEL_SCENARIO_HELP_DIR;
#endif
  if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  if (!ParseOptions(argc, argv, o)) {
    std::cerr << kUsage;
    return 2;
  }
#ifdef MORVANEL_SCENARIO_QT
  std::shared_ptr<void> app;
  if (o.qt) {
    app = scenario::StartQt(argc, argv);
    o.session.screen = scenario::MakeQtScreen;
  }
#else
  if (o.qt) {
    std::cerr << "urssaf-scenario: built without Qt, --qt is not available\n";
    return 2;
  }
#endif
  std::shared_ptr<dba::Database> db;
  try {
    db = OpenDatabase(o);
    demo::RegisterPostWriteRoutine(*db, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "urssaf-scenario: " << dba::RedactSecrets(o.db) << ": "
              << dba::RedactSecrets(e.what()) << "\n";
    return 2;
  }
  for (const std::string& file : o.files) {
    std::vector<scenario::ScriptLine> lines;
    try {
      lines = scenario::LoadScript(file);
    } catch (const scenario::ScriptError& e) {
      std::cerr << e.what() << "\n";
      return 1;
    }
    const std::size_t count = lines.size();
    scenario::Session session(file, std::move(lines), db, o.session, std::cout, std::cerr);
    if (!session.Run()) {
      std::cout.flush();
      std::cerr << session.Report();
      std::cerr << "FAILED " << file << "\n";
      return 1;
    }
    std::cout << "ok " << file << " (" << count << " lines)\n";
  }
  return 0;
}
