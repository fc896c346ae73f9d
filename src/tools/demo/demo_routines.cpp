// The demo database's routine "UNIPGCENTREURSSAF": the control starts it
// after a centre is saved or deleted; here it only leaves a trace in JOURNAL
// so that a run can be observed. Tools layer (src/tools/demo, no Qt).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <ostream>
#include <string>

#include "demo/demo_data.h"
#include "demo/demo_seed.h"

namespace demo {
namespace {

dba::DBFile OpenJournal(dba::Database& db) {
  try {
    return db.DBOpen(kFileJournal);
  } catch (const dba::DbaError& e) {
    if (e.number() != dba::kErrFileNotFound) throw;
  }
  try {
    db.CreateFile(kFileJournal);
  } catch (const dba::DbaError& e) {
    if (e.number() != dba::kErrFileExists) throw;  // another session was first
  }
  return db.DBOpen(kFileJournal);
}

std::string UtcNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  gmtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return text;
}

long RunCount(const std::string& text) {
  long n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    n = n * 10 + (c - '0');
  }
  return n;
}

dba::CItem StampJournal(dba::Database& db, int& /*number*/, std::string_view /*parameter*/) {
  dba::DBFile journal = OpenJournal(db);
  // The write lock keeps two sessions from losing one run each.
  dba::Transaction t(db);
  dba::CItem entry = journal.DBRead(kRoutineName);
  entry.setItem(1, std::to_string(RunCount(entry.Item(1)) + 1));
  entry.setItem(2, UtcNow());
  entry.DBWrite();
  t.Commit();
  dba::CItem result;
  result.setItem(1, entry.Item(1));
  return result;
}

}  // namespace

void RegisterDemoRoutines(dba::Database& db) { db.RegisterRoutine(kRoutineName, StampJournal); }

void RegisterPostWriteRoutine(dba::Database& db, std::ostream& notes) {
  const std::vector<std::string> files = db.Files();
  if (std::find(files.begin(), files.end(), "JOURNAL") != files.end()) {
    RegisterDemoRoutines(db);
    return;
  }
  db.RegisterRoutine("UNIPGCENTREURSSAF", [&notes](dba::Database&, int&, std::string_view) {
    notes << "note: routine UNIPGCENTREURSSAF started; this database has no JOURNAL file, so "
             "the run is not recorded\n";
    return dba::CItem();
  });
}

}  // namespace demo
