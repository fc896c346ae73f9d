// A scratch database in a temporary directory for the database tests.
#pragma once

#include <memory>
#include <string>

#include "dba/database.h"

namespace dba::testing {

// A fresh database file under a unique temporary directory, removed (with
// its WAL files) when the object goes.
class ScratchDatabase {
 public:
  ScratchDatabase();
  ~ScratchDatabase();
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;

  [[nodiscard]] const std::string& path() const { return path_; }
  [[nodiscard]] std::shared_ptr<Database> Open(const OpenOptions& options = {.create = true});

 private:
  std::string dir_;
  std::string path_;
};

// "a\xFEb"-style records written readably: '^' attribute, ']' value, '\' subvalue.
std::string Marks(std::string text);

}  // namespace dba::testing
