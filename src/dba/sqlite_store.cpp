// The SQLite connection of a database (see sqlite_store.h). Database layer.
#include "dba/sqlite_store.h"

#include <sys/stat.h>

#include "dba/dba_error.h"

namespace dba::store {

namespace {

// Marks a file as one of our databases (PRAGMA application_id), and the
// layout of its tables (PRAGMA user_version). Version 0 is a database made
// before the version was recorded; its layout is that of version 1.
constexpr int kApplicationId = 0x4D564442;  // "MVDB"
constexpr int kFormatVersion = 1;

constexpr const char* kSql[] = {
    "BEGIN",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "SELECT (SELECT body FROM records WHERE file_id=?1 AND key=?2),"
    " (SELECT owner FROM locks WHERE file_id=?1 AND key=?2)",
    // No row for a missing record, but the body straight from its page
    // rather than copied out of a subquery.
    "SELECT body, (SELECT owner FROM locks WHERE file_id=?1 AND key=?2)"
    " FROM records WHERE file_id=?1 AND key=?2",
    "SELECT owner FROM locks WHERE file_id=?1 AND key=?2",
    "SELECT owner FROM locks WHERE file_id=?1",
    "SELECT body FROM records WHERE file_id=?1 AND key=?2",
    "INSERT INTO records(file_id,key,body) VALUES(?1,?2,?3)"
    " ON CONFLICT(file_id,key) DO UPDATE SET body=excluded.body",
    "UPDATE records SET body=?3 WHERE file_id=?1 AND key=?2",
    "DELETE FROM records WHERE file_id=?1 AND key=?2",
    "SELECT id FROM files WHERE name=?1",
    "INSERT INTO files(name) VALUES(?1)",
    "DELETE FROM files WHERE id=?1",
    "SELECT name FROM files ORDER BY name",
    "SELECT attr FROM indexes WHERE file_id=?1 ORDER BY attr",
    "INSERT OR IGNORE INTO indexes(file_id,attr) VALUES(?1,?2)",
    "INSERT OR IGNORE INTO index_entries(file_id,attr,value,key) VALUES(?1,?2,?3,?4)",
    "DELETE FROM index_entries WHERE file_id=?1 AND attr=?2 AND value=?3 AND key=?4",
    "SELECT key, body FROM records WHERE file_id=?1 ORDER BY key",
    "SELECT key, body FROM records WHERE file_id=?1 AND key>=?2 ORDER BY key",
    "SELECT e.key, r.body FROM index_entries AS e JOIN records AS r"
    " ON r.file_id=e.file_id AND r.key=e.key"
    " WHERE e.file_id=?1 AND e.attr=?2 AND e.value=?3 ORDER BY e.key",
    "SELECT key FROM index_entries WHERE file_id=?1 AND attr=?2 AND value=?3 ORDER BY key",
    "SELECT value, key FROM index_entries WHERE file_id=?1 AND attr=?2 AND value>=?3"
    " ORDER BY value",
    "INSERT OR REPLACE INTO locks(file_id,key,owner,pid) VALUES(?1,?2,?3,?4)",
    "DELETE FROM locks WHERE file_id=?1 AND key=?2 AND owner=?3",
    "DELETE FROM locks WHERE owner=?1",
    "DELETE FROM locks WHERE file_id=?1 AND key=?2",
    // kReadMany: one row per key of the JSON array ?2, in its order.
    "SELECT r.body, l.owner FROM json_each(?2) AS j"
    " LEFT JOIN records AS r ON r.file_id=?1 AND r.key=j.value"
    " LEFT JOIN locks AS l ON l.file_id=?1 AND l.key=j.value ORDER BY j.key",
};
static_assert(std::size(kSql) == static_cast<std::size_t>(Sql::kCount));

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS files(id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " name TEXT NOT NULL UNIQUE);"
    "CREATE TABLE IF NOT EXISTS records(file_id INTEGER NOT NULL REFERENCES files(id)"
    " ON DELETE CASCADE, key TEXT NOT NULL, body BLOB NOT NULL,"
    " PRIMARY KEY(file_id,key)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS indexes(file_id INTEGER NOT NULL REFERENCES files(id)"
    " ON DELETE CASCADE, attr INTEGER NOT NULL, PRIMARY KEY(file_id,attr)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS index_entries(file_id INTEGER NOT NULL REFERENCES files(id)"
    " ON DELETE CASCADE, attr INTEGER NOT NULL, value BLOB NOT NULL, key TEXT NOT NULL,"
    " PRIMARY KEY(file_id,attr,value,key)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS locks(file_id INTEGER NOT NULL REFERENCES files(id)"
    " ON DELETE CASCADE, key TEXT NOT NULL, owner TEXT NOT NULL, pid INTEGER NOT NULL,"
    " PRIMARY KEY(file_id,key)) WITHOUT ROWID;";

// A non-null pointer for empty texts: SQLite binds NULL for a null pointer.
const char* Data(std::string_view v) { return v.data() ? v.data() : ""; }

// What an opened file holds, read without writing anything.
struct Probe {
  int applicationId = 0;
  int formatVersion = 0;
  int tables = 0;
};

Probe ProbeFile(sqlite3* db, const std::string& path) {
  sqlite3_stmt* probe = nullptr;
  if (sqlite3_prepare_v2(db,
                         "SELECT (SELECT application_id FROM pragma_application_id),"
                         " (SELECT user_version FROM pragma_user_version),"
                         " (SELECT count(*) FROM sqlite_schema)",
                         -1, &probe, nullptr) != SQLITE_OK ||
      sqlite3_step(probe) != SQLITE_ROW) {
    const std::string why = sqlite3_errmsg(db);
    sqlite3_finalize(probe);
    throw DbaError(
        kErrDatabaseNotFound,
        "Le fichier « " + path + " » n'est pas une base de données multivaleur : " + why + ".");
  }
  Probe p;
  p.applicationId = sqlite3_column_int(probe, 0);
  p.formatVersion = sqlite3_column_int(probe, 1);
  p.tables = sqlite3_column_int(probe, 2);
  sqlite3_finalize(probe);
  return p;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

std::unique_ptr<Connection> Connection::Open(const std::string& path, bool create,
                                             int busyTimeoutMs) {
  const bool existed = FileExists(path);
  if (!existed && !create) {
    throw DbaError(kErrDatabaseNotFound, "La base de données « " + path + " » n'existe pas.");
  }
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  std::unique_ptr<Connection> c(new Connection(db));
  if (rc != SQLITE_OK) {
    throw DbaError(kErrDatabaseNotFound, "La base de données « " + path +
                                             " » ne s'ouvre pas : " + sqlite3_errmsg(db) + ".");
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, busyTimeoutMs);

  const Probe found = ProbeFile(db, path);
  const bool ours = found.applicationId == kApplicationId && found.tables > 0;
  // A new file, or one of zero length: nothing there that could be someone's.
  const bool blank = found.tables == 0 && found.applicationId == 0 && found.formatVersion == 0;
  if (!ours && !(blank && create)) {
    // Refused before the first write: the file is left as it was found.
    throw DbaError(kErrDatabaseNotFound,
                   "Le fichier « " + path + " » n'est pas une base de données multivaleur" +
                       (blank ? " (il est vide ; mvdb create en fait une base)." : "."));
  }
  if (ours && found.formatVersion > kFormatVersion) {
    throw DbaError(kErrDatabaseNotFound,
                   "La base de données « " + path + " » a un format plus récent (" +
                       std::to_string(found.formatVersion) + ") que ce programme (" +
                       std::to_string(kFormatVersion) + ").");
  }
  c->Configure(!ours);
  return c;
}

void Connection::Configure(bool fresh) {
  // WAL lets readers go on while one process writes; synchronous=FULL syncs
  // the log at every commit, so each write survives a power cut once it
  // returned, not only a crash of the process.
  Exec("PRAGMA journal_mode=WAL");
  Exec("PRAGMA synchronous=FULL");
  Exec("PRAGMA foreign_keys=ON");
  if (!fresh) return;
  Exec("BEGIN IMMEDIATE");
  try {
    Exec(kSchema);
    Exec(("PRAGMA application_id=" + std::to_string(kApplicationId)).c_str());
    Exec(("PRAGMA user_version=" + std::to_string(kFormatVersion)).c_str());
    Exec("COMMIT");
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

Connection::~Connection() {
  for (sqlite3_stmt* s : cache_) sqlite3_finalize(s);
  sqlite3_close_v2(db_);
}

sqlite3_stmt* Connection::Get(Sql id) {
  sqlite3_stmt*& s = cache_[static_cast<std::size_t>(id)];
  if (s == nullptr) {
    const int rc = sqlite3_prepare_v3(db_, kSql[static_cast<int>(id)], -1,
                                      SQLITE_PREPARE_PERSISTENT, &s, nullptr);
    if (rc != SQLITE_OK) Fail(rc);
  }
  return s;
}

void Connection::Exec(const char* sql) {
  ++runs_;
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(rc);
}

void Connection::Fail(int rc) const {
  const int primary = rc & 0xFF;
  const std::string why = sqlite3_errmsg(db_);
  if (rc == SQLITE_CONSTRAINT_FOREIGNKEY) {  // the file was deleted meanwhile
    throw DbaError(kErrFileNotFound, "Le fichier multivaleur n'existe plus.");
  }
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
    throw DbaError(kErrBusy,
                   "La base de données est occupée par un autre traitement : " + why + ".");
  }
  throw DbaError(kErrStorage, "Erreur de la base de données : " + why + ".");
}

Step& Step::Int(int i, std::int64_t v) {
  const int rc = sqlite3_bind_int64(s_, i, v);
  if (rc != SQLITE_OK) c_.Fail(rc);
  return *this;
}

Step& Step::Text(int i, std::string_view v) {
  const int rc = sqlite3_bind_text(s_, i, Data(v), static_cast<int>(v.size()), SQLITE_STATIC);
  if (rc != SQLITE_OK) c_.Fail(rc);
  return *this;
}

Step& Step::Blob(int i, std::string_view v) {
  const int rc = sqlite3_bind_blob(s_, i, Data(v), static_cast<int>(v.size()), SQLITE_STATIC);
  if (rc != SQLITE_OK) c_.Fail(rc);
  return *this;
}

bool Step::Next() {
  if (!sqlite3_stmt_busy(s_)) c_.CountRun();  // the first step of a run
  const int rc = sqlite3_step(s_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  c_.Fail(rc);
}

void Step::Run() {
  while (Next()) {
  }
  sqlite3_reset(s_);  // ready to be bound and run again
}

std::string_view Step::ColText(int col) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, col));
  return {p, static_cast<std::size_t>(sqlite3_column_bytes(s_, col))};
}

std::string_view Step::ColBlob(int col) const {
  const auto* p = static_cast<const char*>(sqlite3_column_blob(s_, col));
  return {p, static_cast<std::size_t>(sqlite3_column_bytes(s_, col))};
}

}  // namespace dba::store
