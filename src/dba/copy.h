// Copying a whole database (every multivalue file, record and index) into
// another, of either backend: the migration of mvdb copy. Part of the
// database layer (src/dba, no Qt).
#pragma once

#include <cstddef>

#include "dba/database.h"

namespace dba {

struct CopySummary {
  std::size_t files = 0;
  std::size_t records = 0;
  std::size_t indexes = 0;
};

// Copies every file of `from` into `to` in one transaction on `to`: all of
// it or nothing. Throws kErrFileExists, writing nothing, when `to` already
// has a file of the same name. Locks are not copied: they belong to the
// sessions of `from`.
CopySummary CopyDatabase(Database& from, Database& to);

}  // namespace dba
