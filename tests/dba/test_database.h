// A scratch database for the database tests: a SQLite file in a temporary
// directory, or on the PostgreSQL variants a database of its own.
#pragma once

#include <memory>
#include <string>

#include "dba/database.h"
#include "pg_scratch.h"

namespace dba::testing {

using morvanel::testing::OnPostgres;

// A fresh database, removed (with its WAL files, or dropped) when the object
// goes. path() is the file, or the URI on PostgreSQL.
class ScratchDatabase {
 public:
  ScratchDatabase();
  ~ScratchDatabase();
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  [[nodiscard]] const std::string& path() const { return path_; }
  [[nodiscard]] std::shared_ptr<Database> Open(const OpenOptions& options = {.create = true});

 private:
  std::unique_ptr<morvanel::testing::ScratchPg> pg_;
  std::string dir_;
  std::string path_;
};

// "a\xFEb"-style records written readably: '^' attribute, ']' value, '\' subvalue.
std::string Marks(std::string text);

}  // namespace dba::testing
