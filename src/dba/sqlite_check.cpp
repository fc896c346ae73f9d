// The consistency check of an SQLite database file: SQLite's own integrity
// and foreign-key checks, then every index against the records it stands
// for. Database layer; used by "mvdb check" and by the crash tests.
#include <map>
#include <utility>

#include "dba/index_check.h"
#include "dba/sqlite_database.h"

namespace dba {
namespace {

// Runs a PRAGMA whose rows are findings ("ok" alone means none).
void Pragma(store::Connection& c, const char* sql, std::vector<std::string>& findings) {
  sqlite3_stmt* s = nullptr;
  int rc = sqlite3_prepare_v2(c.handle(), sql, -1, &s, nullptr);
  if (rc != SQLITE_OK) c.Fail(rc);
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(s); ++i) {
      const unsigned char* t = sqlite3_column_text(s, i);
      if (i > 0) row += ' ';
      row += t ? reinterpret_cast<const char*>(t) : "NULL";
    }
    if (row != "ok") findings.push_back(std::string(sql) + ": " + row);
  }
  sqlite3_finalize(s);
  if (rc != SQLITE_DONE) c.Fail(rc);
}

// Runs `sql` with up to two integer parameters and visits each row's two
// columns.
template <class Visit>
void Rows(store::Connection& c, const char* sql, std::initializer_list<std::int64_t> params,
          Visit visit) {
  sqlite3_stmt* s = nullptr;
  int rc = sqlite3_prepare_v2(c.handle(), sql, -1, &s, nullptr);
  if (rc != SQLITE_OK) c.Fail(rc);
  int i = 1;
  for (std::int64_t p : params) sqlite3_bind_int64(s, i++, p);
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    auto col = [&](int n) {
      return std::string_view(static_cast<const char*>(sqlite3_column_blob(s, n)),
                              static_cast<std::size_t>(sqlite3_column_bytes(s, n)));
    };
    visit(sqlite3_column_int64(s, 0), col(1), col(2));
  }
  sqlite3_finalize(s);
  if (rc != SQLITE_DONE) c.Fail(rc);
}

void CheckIndex(store::Connection& c, std::int64_t fileId, const std::string& fileName,
                int attribute, std::vector<std::string>& findings) {
  IndexEntries expected;
  Rows(c, "SELECT 0, key, body FROM records WHERE file_id=?1", {fileId},
       [&](std::int64_t, std::string_view key, std::string_view body) {
         AddExpectedEntries(expected, key, body, attribute);
       });
  IndexEntries stored;
  Rows(c, "SELECT 0, value, key FROM index_entries WHERE file_id=?1 AND attr=?2",
       {fileId, attribute}, [&](std::int64_t, std::string_view value, std::string_view key) {
         stored.emplace(std::string(value), std::string(key));
       });
  CompareIndex(fileName, attribute, expected, stored, findings);
}

}  // namespace

std::vector<std::string> SqliteDatabase::Check() {
  store::Connection& c = conn();
  std::vector<std::string> findings;
  Pragma(c, "PRAGMA integrity_check", findings);
  if (!findings.empty()) return findings;  // the tables below cannot be trusted
  Pragma(c, "PRAGMA foreign_key_check", findings);
  // One snapshot for the records and their index entries.
  c.Exec("BEGIN");
  try {
    std::vector<std::pair<std::int64_t, int>> indexes;
    std::map<std::int64_t, std::string> names;
    Rows(c, "SELECT id, name, '' FROM files", {},
         [&](std::int64_t id, std::string_view name, std::string_view) {
           names.emplace(id, std::string(name));
         });
    Rows(c, "SELECT file_id, CAST(attr AS TEXT), '' FROM indexes", {},
         [&](std::int64_t id, std::string_view attr, std::string_view) {
           indexes.emplace_back(id, std::stoi(std::string(attr)));
         });
    for (const auto& [id, attribute] : indexes) {
      CheckIndex(c, id, names[id], attribute, findings);
    }
    Rows(c,
         "SELECT e.file_id, CAST(e.attr AS TEXT), e.key FROM index_entries AS e"
         " LEFT JOIN indexes AS i ON i.file_id=e.file_id AND i.attr=e.attr"
         " WHERE i.attr IS NULL",
         {}, [&](std::int64_t id, std::string_view attr, std::string_view key) {
           findings.push_back("entry of no index: file " + std::to_string(id) + " attribute " +
                              std::string(attr) + " record " + ShownForCheck(key));
         });
    c.Exec("COMMIT");
  } catch (...) {
    c.Exec("ROLLBACK");
    throw;
  }
  return findings;
}

}  // namespace dba
