// Seeding of the demo database: the files the centres control works with,
// filled with French sample data, plus the routine the control starts after
// a save. Tools layer (src/tools/demo, no Qt); used by mvdb, the host, the
// benchmark and the tests.
//
//   auto db = dba::Database::Open("demo.mvdb", {.create = true});
//   demo::SeedDemo(*db);                 // refuses a database that has centres
//   demo::RegisterDemoRoutines(*db);     // "UNIPGCENTREURSSAF" stamps JOURNAL
//
// The layout of every file is described in docs/demo-database.md.
#pragma once

#include <ostream>

#include "dba/database.h"

namespace demo {

struct SeedOptions {
  int scale = 1;              // multiplies the case records and the legal entities
  bool createIndexes = true;  // index ELTSPARTEMP on attribute 1 (the centre)
};

struct SeedSummary {
  int centres = 0;
  int cases = 0;
  int entities = 0;
  int establishments = 0;
};

// Creates the demo files and fills them in one transaction. Throws DbaError
// kErrFileExists when the database already has a CENTREURSSAF file (nothing
// is written then) and kErrBadArgument for a scale below 1.
SeedSummary SeedDemo(dba::Database& db, const SeedOptions& options = {});

// Adds `entities` generated legal entities (codes from "200" on, at most 800)
// with `establishmentsPerEntity` establishments each (at most 999), one
// counted activity each; creates ASSOCIATION, ACTIVITES and ETABLISSEMENT when
// missing. Writes in one transaction; throws kErrBadArgument beyond the limits.
void SeedEntities(dba::Database& db, int entities, int establishmentsPerEntity);

// Registers "UNIPGCENTREURSSAF": each run adds one to attribute 1 of record
// "UNIPGCENTREURSSAF" of JOURNAL and puts the run's UTC time
// ("2024-01-31T08:15:00Z") in attribute 2. Creates JOURNAL when missing.
// Returns a record whose attribute 1 is the new run count.
void RegisterDemoRoutines(dba::Database& db);

// For hosts and tools that open any database holding the control's files:
// the demo routine when the database has its JOURNAL file; otherwise a
// stand-in that writes nothing and says so on `notes`, so that a database
// that is not the demo one gains no file behind its owner's back.
void RegisterPostWriteRoutine(dba::Database& db, std::ostream& notes);

}  // namespace demo
