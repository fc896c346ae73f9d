// A scratch database for the database tests.
#include "test_database.h"

#include <stdlib.h>

#include <filesystem>

namespace dba::testing {

ScratchDatabase::ScratchDatabase() {
  if (OnPostgres()) {
    pg_ = std::make_unique<morvanel::testing::ScratchPg>();
    path_ = pg_->uri();
    return;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "dba-test-XXXXXX").string();
  dir_ = mkdtemp(pattern.data()) ? pattern : std::string();
  path_ = dir_ + "/test.mvdb";
}

ScratchDatabase::~ScratchDatabase() {
  std::error_code ignored;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

std::shared_ptr<Database> ScratchDatabase::Open(const OpenOptions& options) {
  return Database::Open(path_, options);
}

std::string Marks(std::string text) {
  for (char& c : text) {
    if (c == '^')
      c = kAttributeMark;
    else if (c == ']')
      c = kValueMark;
    else if (c == '\\')
      c = kSubvalueMark;
  }
  return text;
}

}  // namespace dba::testing
