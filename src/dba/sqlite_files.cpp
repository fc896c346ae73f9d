// The SQLite backend's session and its multivalue files: opening state,
// file administration and the entry to selections. Database layer.
#include <string>

#include "dba/query_engine.h"
#include "dba/sqlite_database.h"

namespace dba {

SqliteDatabase::SqliteDatabase(std::string path, const OpenOptions& options,
                               std::unique_ptr<store::Connection> connection)
    : DatabaseImpl(std::move(path), options),
      conn_(std::move(connection)),
      session_(this->path()) {}

SqliteDatabase::~SqliteDatabase() {
  if (inTransaction_) {
    try {
      Rollback();
    } catch (...) {  // closing the connection rolls back anyway
    }
  }
  ReleaseAllLocks();
}

std::int64_t SqliteDatabase::FileId(std::string_view name) {
  store::Step s(*conn_, store::Sql::kFileByName);
  s.Text(1, name);
  if (!s.Next()) {
    throw DbaError(kErrFileNotFound, "Le fichier « " + std::string(name) + " » n'existe pas.");
  }
  return s.ColInt(0);
}

void SqliteDatabase::CreateFile(std::string_view name) {
  WriteScope w(*this);
  {
    store::Step s(*conn_, store::Sql::kFileByName);
    s.Text(1, name);
    if (s.Next()) {
      throw DbaError(kErrFileExists, "Le fichier « " + std::string(name) + " » existe déjà.");
    }
  }
  store::Step(*conn_, store::Sql::kInsertFile).Text(1, name).Run();
  w.Commit();
}

void SqliteDatabase::DeleteFile(std::string_view name) {
  WriteScope w(*this);
  const std::int64_t id = FileId(name);
  // Records, index entries, index definitions and locks go with the file.
  store::Step(*conn_, store::Sql::kDeleteFile).Int(1, id).Run();
  w.Commit();
}

std::vector<std::string> SqliteDatabase::Files() {
  std::vector<std::string> names;
  store::Step s(*conn_, store::Sql::kListFiles);
  while (s.Next()) names.emplace_back(s.ColText(0));
  return names;
}

void SqliteDatabase::CreateIndex(std::string_view name, int attribute) {
  WriteScope w(*this);
  BuildIndex(FileId(name), attribute);
  w.Commit();
}

CItem SqliteDatabase::Select(std::string_view requestText, int* count) {
  return RunSelect(*this, requestText, count);
}

}  // namespace dba
