// Raw SQLite baseline of the benchmark: storage, loading and the record
// text helpers it uses instead of the record object. Benchmark program.
#include "baseline.h"

#include <cstdio>
#include <stdexcept>

#include "dba/citem.h"

namespace bench {
namespace {

void Check(sqlite3* db, int rc, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
    throw std::runtime_error(std::string("baseline ") + what + ": " + sqlite3_errmsg(db));
  }
}

// A non-null pointer for empty texts: SQLite binds NULL for a null pointer.
const char* Data(std::string_view v) { return v.data() ? v.data() : ""; }

}  // namespace

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db) {
  Check(db_, sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt_, nullptr), "prepare");
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::Bind(int index, std::string_view text) {
  Check(db_,
        sqlite3_bind_text(stmt_, index, Data(text), static_cast<int>(text.size()), SQLITE_STATIC),
        "bind");
}

void Statement::BindBlob(int index, std::string_view bytes) {
  Check(db_,
        sqlite3_bind_blob(stmt_, index, Data(bytes), static_cast<int>(bytes.size()), SQLITE_STATIC),
        "bind");
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  Check(db_, rc, "step");
  return rc == SQLITE_ROW;
}

std::string_view Statement::Column(int index) const {
  const void* data = sqlite3_column_blob(stmt_, index);
  const int size = sqlite3_column_bytes(stmt_, index);
  return data ? std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size))
              : std::string_view();
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

Baseline::Baseline(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm"}) std::remove((path + suffix).c_str());
  // One thread uses the connection, as ours: no mutexes.
  if (sqlite3_open_v2(path.c_str(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw std::runtime_error("baseline open: " + message);
  }
  Exec("PRAGMA journal_mode=WAL");
  Exec("PRAGMA synchronous=FULL");
}

Baseline::~Baseline() { sqlite3_close(db_); }

void Baseline::Exec(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message ? message : "unknown error";
    sqlite3_free(message);
    throw std::runtime_error("baseline: " + text);
  }
}

void Baseline::Load(const std::string& file, const std::vector<demo::DemoRecord>& records) {
  // Without rowid: the records live in the key's own tree, so a read by key
  // is one tree search and a scan comes in key order, as in ours.
  Exec("CREATE TABLE " + Table(file) + "(key TEXT PRIMARY KEY, body BLOB) WITHOUT ROWID");
  Exec("BEGIN IMMEDIATE");
  {
    Statement insert(db_, "INSERT INTO " + Table(file) + "(key, body) VALUES(?, ?)");
    for (const demo::DemoRecord& r : records) {
      insert.Bind(1, r.key);
      insert.BindBlob(2, r.text);
      insert.Step();
      insert.Reset();
    }
  }
  Exec("COMMIT");
}

void Baseline::BuildIndex(const std::string& file, int attribute) {
  const std::string index = IndexTable(file, attribute);
  Exec("CREATE TABLE " + index + "(value BLOB, key TEXT, PRIMARY KEY(value, key)) WITHOUT ROWID");
  Exec("BEGIN IMMEDIATE");
  {
    Statement scan(db_, "SELECT key, body FROM " + Table(file));
    Statement insert(db_, "INSERT INTO " + index + "(value, key) VALUES(?, ?)");
    while (scan.Step()) {
      insert.BindBlob(1, AttributeOf(scan.Column(1), attribute));
      insert.Bind(2, scan.Column(0));
      insert.Step();
      insert.Reset();
    }
  }
  Exec("COMMIT");
}

std::string_view AttributeOf(std::string_view body, int n) {
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t mark = body.find(dba::kAttributeMark, start);
    if (mark == std::string_view::npos) return {};
    start = mark + 1;
  }
  const std::size_t end = body.find(dba::kAttributeMark, start);
  return body.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string ReplaceAttribute(std::string_view body, int n, std::string_view text) {
  std::string out(body);
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t mark = out.find(dba::kAttributeMark, start);
    if (mark == std::string::npos) {
      out.append(static_cast<std::size_t>(n - i), dba::kAttributeMark);
      return out.append(text);
    }
    start = mark + 1;
  }
  const std::size_t end = out.find(dba::kAttributeMark, start);
  return out.replace(start, end == std::string::npos ? std::string::npos : end - start, text);
}

}  // namespace bench
