// mvdb's administration commands: create, files, index, unlock, check and seed-demo.
// Tools layer (src/tools/mvdb, no Qt).
#include <algorithm>
#include <iostream>

#include "command_table.h"
#include "dba/redact.h"
#include "demo/demo_seed.h"

namespace mvdb {

int CmdCreate(const Args& a, Streams io) {
  auto db = dba::Database::Open(a[0], {.create = true});
  int status = kExitOk;
  for (std::size_t i = 1; i < a.size(); ++i) {
    try {
      db->CreateFile(a[i]);
    } catch (const dba::DbaError& e) {
      if (e.number() != dba::kErrFileExists) throw;
      io.err << "mvdb: file " << a[i] << " already exists\n";
      status = kExitFailure;
    }
  }
  return status;
}

int CmdFiles(const Args& a, Streams io) {
  auto db = OpenExisting(a[0]);
  std::vector<std::string> files = db->Files();
  std::sort(files.begin(), files.end());
  for (const std::string& f : files) io.out << f << '\n';
  return kExitOk;
}

int CmdIndex(const Args& a, Streams /*io*/) {
  const int attribute = ParseNumber(a[2], "ATTR");
  auto db = OpenExisting(a[0]);
  db->CreateIndex(a[1], attribute);
  return kExitOk;
}

int CmdUnlock(const Args& a, Streams /*io*/) {
  auto db = OpenExisting(a[0]);
  if (!db->ClearLock(a[1], a[2])) {
    throw CommandFailure("record " + a[2] + " of " + a[1] + " holds no lock");
  }
  return kExitOk;
}

int CmdCheck(const Args& a, Streams io) {
  auto db = OpenExisting(a[0]);
  const std::vector<std::string> findings = db->Check();
  for (const std::string& f : findings) io.out << f << '\n';
  if (!findings.empty())
    throw CommandFailure(a[0] + ": " + std::to_string(findings.size()) + " finding(s)");
  io.out << "ok\n";
  return kExitOk;
}

int CmdSeedDemo(const Args& a, Streams io) {
  demo::SeedOptions options;
  if (a.size() == 2 || (a.size() == 3 && a[1] != "--scale")) {
    throw UsageError("usage: mvdb seed-demo DB [--scale N]");
  }
  if (a.size() == 3) options.scale = ParseNumber(a[2], "the scale");
  if (options.scale < 1) throw UsageError("the scale must be 1 or more");
  auto db = dba::Database::Open(a[0], {.create = true});
  const demo::SeedSummary s = demo::SeedDemo(*db, options);
  io.out << "seeded " << dba::RedactSecrets(a[0]) << ": " << s.centres << " centres, " << s.entities
         << " legal entities, " << s.establishments << " establishments, " << s.cases
         << " case records\n";
  return kExitOk;
}

}  // namespace mvdb
