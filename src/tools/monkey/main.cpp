// urssaf-monkey: random clerk sessions on the URSSAF centres control, with
// the rules of invariants.h checked after every action; on a broken rule it
// prints the shortest scenario that still breaks it and exits with 1.
// Random clerk sessions (src/tools/monkey, no Qt). See docs/monkey.md.
#include <chrono>
#include <cstring>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "clerk_session.h"
#include "dba/redact.h"
#include "shrink.h"
#include "version.h"

namespace {

constexpr const char* kUsage =
    "usage: urssaf-monkey --actions N --seed S [--dir DIR] [--session MIN-MAX] [--out FILE]\n"
    "  --actions N      actions to run in all (default 10000)\n"
    "  --seed S         the seed; the same seed runs the same sessions\n"
    "  --dir DIR        where the databases go (default /tmp/urssaf-monkey-PID)\n"
    "  --session A-B    actions per session, drawn between A and B (default 200-400)\n"
    "  --out FILE       also write the shrunk scenario to FILE\n"
    "  --shrink-tries N candidates replayed at most while shrinking (default 4000)\n"
    "Exit 0 when every rule held, 1 on a broken rule (the scenario is printed),\n"
    "2 for a usage error.\n";

struct Options {
  long actions = 10000;
  std::uint64_t seed = 1;
  std::string dir;
  long minSession = 200, maxSession = 400;
  std::string out;
  int shrinkTries = 4000;
};

bool Parse(int argc, char** argv, Options& o) {
  try {
    for (int i = 1; i < argc; ++i) {
      const std::string a = argv[i];
      if (i + 1 >= argc) return false;
      const std::string v = argv[++i];
      if (a == "--actions") {
        o.actions = std::stol(v);
      } else if (a == "--seed") {
        o.seed = std::stoull(v);
      } else if (a == "--dir") {
        o.dir = v;
      } else if (a == "--out") {
        o.out = v;
      } else if (a == "--shrink-tries") {
        o.shrinkTries = std::stoi(v);
      } else if (a == "--session") {
        const std::size_t dash = v.find('-');
        if (dash == std::string::npos) return false;
        o.minSession = std::stol(v.substr(0, dash));
        o.maxSession = std::stol(v.substr(dash + 1));
      } else {
        return false;
      }
    }
  } catch (const std::exception&) {
    return false;
  }
  return o.actions > 0 && o.minSession > 0 && o.maxSession >= o.minSession;
}

// splitmix64: independent seeds for the sessions of one run.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

int Report(const Options& o, const monkey::Workspace& w, const monkey::Outcome& found,
           long sessionNo, std::uint64_t sessionSeed) {
  if (found.lines.empty()) {
    std::cerr << "urssaf-monkey: session " << sessionNo << " (seed " << o.seed
              << "): " << found.detail << "\n";
    return 1;
  }
  std::cerr << "urssaf-monkey: session " << sessionNo << " (seed " << o.seed << ", session seed "
            << sessionSeed << "): " << found.detail << "\nshrinking " << found.lines.size()
            << " lines...\n";
  const std::string rule = found.rule;
  std::string expectLine = found.expectLine;
  const monkey::Split whole = monkey::SplitSession(found.lines);
  int tries = 0;
  const monkey::Split small = monkey::Shrink(
      whole,
      [&](const std::vector<std::string>& lines) {
        const monkey::Outcome r = monkey::Replay(w, lines);
        if (r.rule != rule) return false;
        expectLine = r.expectLine;
        return true;
      },
      o.shrinkTries, &tries);
  // The expectation of the smallest failing replay (it may name other values).
  const monkey::Outcome last = monkey::Replay(w, monkey::Join(small));
  if (last.rule == rule) expectLine = last.expectLine;
  std::ostringstream s;
  s << "# broken: " << found.detail << "\n";
  s << "# urssaf-monkey --seed " << o.seed << ", session " << sessionNo << ": "
    << whole.actions.size() << " actions shrunk to " << small.actions.size() << " (" << tries
    << " replays)\n";
  for (const std::string& l : monkey::Join(small)) s << l << "\n";
  if (!expectLine.empty()) s << expectLine << "\n";
  std::cout << s.str();
  if (!o.out.empty()) std::ofstream(o.out) << s.str();
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (version::Printed(argc, argv, "urssaf-monkey")) return 0;
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kUsage;
    return 0;
  }
  Options o;
  if (!Parse(argc, argv, o)) {
    std::cerr << kUsage;
    return 2;
  }
  const bool ownDir = o.dir.empty();
  if (ownDir) o.dir = "/tmp/urssaf-monkey-" + std::to_string(::getpid());
  const auto start = std::chrono::steady_clock::now();
  monkey::Workspace w;
  try {
    w = monkey::PrepareWorkspace(o.dir);
  } catch (const std::exception& e) {
    std::cerr << "urssaf-monkey: " << o.dir << ": " << dba::RedactSecrets(e.what()) << "\n";
    return 2;
  }
  if (auto b = monkey::CheckContent(w.templateImage)) {
    std::cerr << "urssaf-monkey: the demo database itself breaks a rule: " << b->detail << "\n";
    return 1;
  }
  long done = 0, sessions = 0, writes = 0;
  std::uint64_t sessionSeed = o.seed;
  while (done < o.actions) {
    sessionSeed = Mix(o.seed * 1000003ULL + static_cast<std::uint64_t>(sessions));
    const long span = o.maxSession - o.minSession + 1;
    long budget =
        o.minSession + static_cast<long>(Mix(sessionSeed) % static_cast<std::uint64_t>(span));
    budget = std::min(budget, o.actions - done);
    const monkey::Outcome r = monkey::RunGenerated(w, sessionSeed, budget);
    ++sessions;
    done += std::max(r.actions, 1L);
    if (!r.rule.empty()) return Report(o, w, r, sessions, sessionSeed);
    writes += r.writes;
  }
  const double secs =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (ownDir) std::filesystem::remove_all(o.dir);  // kept only when a rule broke
  std::cout << "urssaf-monkey: seed " << o.seed << ": " << done << " actions in " << sessions
            << " sessions, " << writes << " writes, " << secs << " s, every rule held\n";
  return 0;
}
