// PgDatabase: the PostgreSQL backend of a Database object, for several
// workstations on one payroll database. Internal to the database layer.
//
// One Database object is one server session. Where the SQLite backend
// relies on the file's locks, this one relies on the server's:
// - The write lock is a transaction-level advisory lock on one constant
//   key (pg::kBeginWrite), taken first by every write transaction, as
//   BEGIN IMMEDIATE does; waiting for it past busyTimeoutMs (lock_timeout)
//   throws kErrBusy. Writes run at READ COMMITTED, so once the lock is held
//   every statement sees all that the previous holders committed.
// - A record lock is a row of mv_locks naming its owner by a random number
//   on which the owning session holds a session-level advisory lock for its
//   whole life. The server drops that advisory lock when the session ends,
//   whatever ends it (exit, kill -9, a lost network once the server notices),
//   so a row is honoured exactly while its owner lives; the row itself is
//   what ClearLock removes and what an administrator can read. A plain
//   advisory lock per record would do without rows, but could not be listed
//   by file and key, nor cleared by another session.
// - ForEachRecord reads through a cursor of a REPEATABLE READ transaction:
//   one snapshot, held up by nobody.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "dba/database_impl.h"
#include "dba/pg_store.h"

namespace dba {

class PgDatabase final : public DatabaseImpl {
 public:
  PgDatabase(std::string uri, const OpenOptions& options, std::unique_ptr<pg::Connection> c);
  ~PgDatabase() override;

  [[nodiscard]] std::int64_t FileId(std::string_view name) override;
  void CreateFile(std::string_view name) override;
  void DeleteFile(std::string_view name) override;
  [[nodiscard]] std::vector<std::string> Files() override;
  void CreateIndex(std::string_view name, int attribute) override;
  [[nodiscard]] const std::vector<int>& IndexedAttributes(std::int64_t fileId) override;

  [[nodiscard]] bool InTransaction() const override { return inTransaction_; }
  void Begin() override;
  void Commit() override;
  void Rollback() override;

  [[nodiscard]] std::string Read(const FileBinding& file, std::string_view key) override;
  [[nodiscard]] std::vector<std::string> ReadMany(const FileBinding& file,
                                                  const std::vector<std::string>& keys) override;
  void Write(const FileBinding& file, std::string_view key, std::string_view body) override;
  int Delete(const FileBinding& file, std::string_view key) override;
  void Scan(const FileBinding& file,
            const std::function<void(std::string_view, std::string_view)>& visit) override;

  [[nodiscard]] std::string ReadLocked(const FileBinding& file, std::string_view key) override;
  void Release(const FileBinding& file, std::string_view key) override;
  bool ClearLock(std::int64_t fileId, std::string_view key) override;

  [[nodiscard]] CItem Select(std::string_view requestText, int* count) override;
  [[nodiscard]] std::vector<CItem> SelectMany(
      const std::vector<std::string>& requestTexts) override;
  [[nodiscard]] std::vector<std::string> Check() override;  // pg_check.cpp

  pg::Connection& conn() { return *conn_; }
  [[nodiscard]] std::uint64_t Statements() const override { return conn_->Sent(); }
  // Has the server end this session, as a restart or a network cut would.
  void DropSession();

 private:
  friend class PgWrite;
  struct PendingSelect;  // pg_query.cpp
  [[nodiscard]] std::unique_ptr<PendingSelect> PrepareSelect(std::string_view requestText);
  [[nodiscard]] static CItem FinishSelect(const PendingSelect& s, const pg::Result& r, int* count);
  // Runs `attempt` (false when another session's lock blocked it, its work
  // undone) until it succeeds; throws kErrRecordLocked past the lock
  // timeout, or at once inside a Transaction.
  template <class Attempt>
  void RetryWhileLocked(const FileBinding& file, std::string_view key, Attempt attempt);
  [[nodiscard]] bool TakeOwnerLock();
  void BeginWrite();
  // Takes in what BeginWriteAndLook's last statement gave.
  void Began(const pg::Result& look);
  // A Transaction sends its BEGIN with its first read (RunFirst), or alone
  // before anything else it does (EnsureBegun).
  void EnsureBegun();
  [[nodiscard]] pg::Result RunFirst(pg::Sql id, pg::Params& params);
  void EndWrite(bool commit);
  [[nodiscard]] bool Writing() const { return inTransaction_ || scopeOpen_; }
  void BuildIndex(std::int64_t fileId, int attribute);
  // False when no other live session can hold a lock in the file until the
  // current Transaction ends; always true outside one.
  [[nodiscard]] bool OthersMayLock(std::int64_t fileId);
  // Whether `owner` (of a lock row) is another session that still lives.
  [[nodiscard]] bool HeldByOther(std::int64_t owner);
  // Reads every file's id and indexed attributes in one statement.
  void LoadCatalog();
  // The indexed attributes last seen for the file (see knownIndexes_).
  [[nodiscard]] const std::vector<int>& KnownIndexes(std::int64_t fileId) const;
  // Inside a Transaction, the bodies it has read or written (see txBodies_).
  void RememberBody(std::int64_t fileId, std::string_view key, bool exists, std::string_view body);
  // "1" and the body of a record, "0" for a missing one; null when unknown.
  [[nodiscard]] const std::string* RememberedBody(std::int64_t fileId, std::string_view key) const;

  std::unique_ptr<pg::Connection> conn_;
  std::int64_t owner_ = 0;  // this session's owner number in mv_locks
  std::string ownerInfo_;   // "pid@host", for the administrator
  bool inTransaction_ = false;
  bool pendingBegin_ = false;  // a Transaction whose BEGIN is not sent yet
  bool scopeOpen_ = false;
  bool tookLocks_ = false;
  std::uint64_t writeSerial_ = 0;  // bumped each time the write lock is taken
  std::uint64_t scans_ = 0;        // names each scan's cursor
  // The session's file ids by name. A session learns of another's new
  // file when it first opens it; a file another session deletes keeps its
  // id here, under which nothing is found any more and writes fail.
  std::map<std::string, std::int64_t, std::less<>> fileIds_;
  // Indexed attributes by file id (files without any absent). Exact while
  // indexesSerial_ == writeSerial_ and the write lock is held (no index can
  // be added meanwhile); otherwise possibly short of an index added since,
  // which only makes a selection read more (indexes are never dropped).
  std::unordered_map<std::int64_t, std::vector<int>> knownIndexes_;
  std::uint64_t indexesSerial_ = 0;
  // Files where another live session held record locks when the write lock
  // was taken: none can be added until it is released.
  std::set<std::int64_t> othersLockIn_;
  // Inside a Transaction the write lock keeps every other writer out: a body
  // read or written in it is the stored one until the transaction ends, and
  // an indexed write finds there the old body it must compare with instead
  // of reading it again. Bounded, so a huge transaction stays in memory.
  std::unordered_map<std::string, std::string> txBodies_;
  std::size_t txBytes_ = 0;
};

// Opens a database named by a libpq URI (Database::Open).
std::unique_ptr<DatabaseImpl> OpenPostgres(const std::string& uri, const OpenOptions& options);

}  // namespace dba
