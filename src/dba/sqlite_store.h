// The SQLite connection of a database: opening and checking the file, the
// schema, cached prepared statements and the mapping of SQLite failures to
// DbaError. Lowest level of the database layer; knows nothing of records.
#pragma once

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace dba::store {

// Every statement the component runs. Untrusted text only ever reaches them
// as bound parameters; file names are rows of `files`, never SQL names.
enum class Sql : int {
  kBegin,
  kBeginImmediate,
  kCommit,
  kRollback,
  kReadWithLock,
  kReadIfPresent,
  kLockOwner,
  kLockOwnersOfFile,
  kReadBody,
  kUpsert,
  kUpdateBody,
  kDeleteRecord,
  kFileByName,
  kInsertFile,
  kDeleteFile,
  kListFiles,
  kIndexedAttributes,
  kInsertIndex,
  kInsertEntry,
  kDeleteEntry,
  kScanAll,
  kScanFromKey,
  kIndexEqual,
  kIndexKeysEqual,
  kIndexFrom,
  kTakeLock,
  kReleaseLock,
  kReleaseOwner,
  kClearLock,
  kReadMany,
  kCount
};

class Connection {
 public:
  // Opens the file; `create` creates it when missing. Throws
  // kErrDatabaseNotFound for a missing file or one that is not ours.
  static std::unique_ptr<Connection> Open(const std::string& path, bool create, int busyTimeoutMs);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // The statement, prepared on first use and kept for the connection's life.
  sqlite3_stmt* Get(Sql id);
  void Exec(const char* sql);
  [[nodiscard]] sqlite3* handle() const { return db_; }
  // Throws the DbaError matching an SQLite result code.
  [[noreturn]] void Fail(int rc) const;
  // Statements run so far (Database::Statements).
  [[nodiscard]] std::uint64_t Runs() const { return runs_; }
  void CountRun() { ++runs_; }

 private:
  explicit Connection(sqlite3* db) : db_(db) {}
  void Configure(bool fresh);
  sqlite3* db_;
  std::array<sqlite3_stmt*, static_cast<std::size_t>(Sql::kCount)> cache_{};
  std::uint64_t runs_ = 0;
};

// One use of a cached statement: binds, steps, reads columns, and resets the
// statement when it goes out of scope, whatever happened.
class Step {
 public:
  Step(Connection& c, Sql id) : c_(c), s_(c.Get(id)) {}
  ~Step() { sqlite3_reset(s_); }
  Step(const Step&) = delete;
  Step& operator=(const Step&) = delete;

  Step& Int(int i, std::int64_t v);
  Step& Text(int i, std::string_view v);
  Step& Blob(int i, std::string_view v);
  // True when a row is ready, false when done; throws on failure.
  bool Next();
  // Makes the statement ready to be bound and stepped again.
  void Reset() { sqlite3_reset(s_); }
  // Steps until done, then resets so the statement can be run again.
  void Run();

  [[nodiscard]] bool IsNull(int col) const { return sqlite3_column_type(s_, col) == SQLITE_NULL; }
  [[nodiscard]] std::int64_t ColInt(int col) const { return sqlite3_column_int64(s_, col); }
  [[nodiscard]] std::string_view ColText(int col) const;
  [[nodiscard]] std::string_view ColBlob(int col) const;

 private:
  Connection& c_;
  sqlite3_stmt* s_;
};

}  // namespace dba::store
