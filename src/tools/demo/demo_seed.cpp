// SeedDemo and SeedEntities: create the demo files and write the generated
// records in one transaction each. Tools layer (src/tools/demo, no Qt).
#include "demo/demo_seed.h"

#include <algorithm>
#include <string>
#include <vector>

#include "demo/demo_data.h"

namespace demo {
namespace {

bool HasFile(const std::vector<std::string>& files, const std::string& name) {
  return std::find(files.begin(), files.end(), name) != files.end();
}

void CreateMissing(dba::Database& db, const std::vector<std::string>& names) {
  const std::vector<std::string> files = db.Files();
  for (const std::string& name : names) {
    if (!HasFile(files, name)) db.CreateFile(name);
  }
}

void WriteAll(dba::Database& db, const char* file, const std::vector<DemoRecord>& records) {
  dba::DBFile f = db.DBOpen(file);
  for (const DemoRecord& r : records) {
    dba::CItem item = f.DBNew(r.key);
    item.setItem(r.text);
    item.DBWrite();
  }
}

void WriteEntities(dba::Database& db, const EntitySet& set) {
  WriteAll(db, kFileEntities, set.associations);
  WriteAll(db, kFileActivities, set.activities);
  WriteAll(db, kFileEstablishments, set.establishments);
}

const std::vector<std::string>& EntityFiles() {
  static const std::vector<std::string> files = {kFileEntities, kFileActivities,
                                                 kFileEstablishments};
  return files;
}

}  // namespace

const std::vector<std::string>& DemoFiles() {
  static const std::vector<std::string> files = {
      kFileCentres,        kFileCounter, kFileEntities, kFileActivities,
      kFileEstablishments, kFileCases,   kFileRights,   kFileJournal};
  return files;
}

SeedSummary SeedDemo(dba::Database& db, const SeedOptions& options) {
  if (options.scale < 1) throw dba::DbaError(dba::kErrBadArgument, "the scale must be 1 or more");
  if (HasFile(db.Files(), kFileCentres)) {
    throw dba::DbaError(dba::kErrFileExists,
                        "the database already has a CENTREURSSAF file; seed an empty database");
  }
  CreateMissing(db, DemoFiles());

  const std::vector<DemoRecord> centres = DemoCentres();
  const std::vector<DemoRecord> cases = DemoCases(options.scale);
  const EntitySet named = NamedEntities();
  const EntitySet generated = GeneratedEntities(GeneratedEntityCount(options.scale), 10);

  dba::Transaction transaction(db);
  WriteAll(db, kFileCentres, centres);
  WriteAll(db, kFileCounter, {DemoCounter()});
  WriteEntities(db, named);
  WriteEntities(db, generated);
  WriteAll(db, kFileCases, cases);
  WriteAll(db, kFileRights, DemoRights());
  transaction.Commit();

  // Built after the bulk load: one pass instead of one update per record.
  if (options.createIndexes) db.CreateIndex(kFileCases, 1);

  SeedSummary summary;
  summary.centres = static_cast<int>(centres.size());
  summary.cases = static_cast<int>(cases.size());
  summary.entities = static_cast<int>(named.associations.size() + generated.associations.size());
  summary.establishments =
      static_cast<int>(named.establishments.size() + generated.establishments.size());
  return summary;
}

void SeedEntities(dba::Database& db, int entities, int establishmentsPerEntity) {
  const EntitySet set = GeneratedEntities(entities, establishmentsPerEntity);
  CreateMissing(db, EntityFiles());
  dba::Transaction transaction(db);
  WriteEntities(db, set);
  transaction.Commit();
}

}  // namespace demo
