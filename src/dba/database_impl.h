// DatabaseImpl: the state behind a Database object (connection, options,
// transaction state, lock owner, routines) and the record operations that
// DBFile and CItem delegate to. Internal to the database layer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dba/database.h"
#include "dba/sqlite_store.h"

namespace dba {

class WriteScope;

// Who is alive among lock owners (record_locks.cpp). While it lives, a
// session holds an open-file-description lock on one slot of the side file
// "<database>-owners" and has written its token into that slot. The kernel
// drops such a lock when its holder goes, however it goes (exit, kill -9,
// crash), and a slot taken again holds another token: a lock row's owner is
// alive exactly while its slot is locked and still holds its token. Neither
// a reused process id nor another machine sharing the file can mislead it.
class SessionOwner {
 public:
  explicit SessionOwner(const std::string& databasePath);  // kErrStorage
  ~SessionOwner();
  SessionOwner(const SessionOwner&) = delete;
  SessionOwner& operator=(const SessionOwner&) = delete;

  [[nodiscard]] const std::string& Token() const { return token_; }
  // Whether the session that wrote `token` into a lock row still lives.
  [[nodiscard]] bool Alive(std::string_view token) const;

 private:
  int fd_ = -1;
  std::string token_;
};

// The file a record or a DBFile belongs to. Holds the database alive, so a
// record read from a file can always be written back.
struct FileBinding {
  std::shared_ptr<Database> db;
  std::string name;
  std::int64_t id = 0;
};

class DatabaseImpl {
 public:
  DatabaseImpl(std::string path, const OpenOptions& options,
               std::unique_ptr<store::Connection> connection);
  ~DatabaseImpl();

  store::Connection& conn() { return *conn_; }
  const std::string& path() const { return path_; }
  const OpenOptions& options() const { return options_; }

  // Files (database.cpp).
  [[nodiscard]] std::int64_t FileId(std::string_view name);  // kErrFileNotFound

  // Transactions (transaction.cpp). A write outside a Transaction runs in its
  // own BEGIN IMMEDIATE ... COMMIT; inside one it joins it.
  [[nodiscard]] bool InTransaction() const { return inTransaction_; }
  void Begin();
  void Commit();
  void Rollback();
  // True while this connection holds the write lock (a Transaction or a
  // WriteScope): nobody else can change the schema of indexes meanwhile.
  [[nodiscard]] bool Writing() const { return inTransaction_ || scopeOpen_; }
  void BeginScope();
  void EndScope(bool commit);

  // Records (records.cpp).
  [[nodiscard]] std::string Read(const FileBinding& file, std::string_view key);
  void Write(const FileBinding& file, std::string_view key, std::string_view body);
  int Delete(const FileBinding& file, std::string_view key);
  void Scan(const FileBinding& file,
            const std::function<void(std::string_view, std::string_view)>& visit);

  // Record locks (record_locks.cpp).
  [[nodiscard]] std::string ReadLocked(const FileBinding& file, std::string_view key);
  void Release(const FileBinding& file, std::string_view key);
  bool ClearLock(std::int64_t fileId, std::string_view key);
  [[nodiscard]] const std::string& OwnerToken() const { return session_.Token(); }
  // True when `owner` (a lock row's owner) is another live session.
  [[nodiscard]] bool HeldByOther(std::string_view owner) const;
  // Waits a little before the next attempt on a locked record; throws
  // kErrRecordLocked once `deadline` passed or at once inside a transaction.
  void WaitForLock(const FileBinding& file, std::string_view key, std::int64_t deadlineMs) const;
  [[nodiscard]] std::int64_t LockDeadline() const;
  [[nodiscard]] bool MayHoldLock(std::int64_t fileId, std::string_view key) const;
  void ForgetLock(std::int64_t fileId, std::string_view key);
  // False when no other live session can hold a lock in the file until the
  // current Transaction ends (records.cpp); always true outside one.
  [[nodiscard]] bool OthersMayLock(std::int64_t fileId);

  // Secondary indexes (indexes.cpp).
  [[nodiscard]] const std::vector<int>& IndexedAttributes(std::int64_t fileId);
  void UpdateIndexEntries(std::int64_t fileId, std::string_view key, std::string_view oldBody,
                          std::string_view newBody, bool hadOld, bool hasNew);
  void BuildIndex(std::int64_t fileId, int attribute);

  std::map<std::string, Routine, std::less<>> routines;
  std::uint64_t recordWrites = 0;  // Database::RecordWrites

 private:
  void ReleaseAllLocks() noexcept;
  void FinishWrite(WriteScope& w, std::int64_t fileId, std::string_view key);

  std::string path_;
  OpenOptions options_;
  std::unique_ptr<store::Connection> conn_;
  SessionOwner session_;
  bool inTransaction_ = false;
  bool scopeOpen_ = false;
  std::uint64_t writeSerial_ = 0;  // bumped at each BEGIN IMMEDIATE
  std::set<std::pair<std::int64_t, std::string>> heldLocks_;  // may list released ones
  struct IndexCache {
    std::uint64_t serial = 0;
    std::vector<int> attributes;
  };
  std::unordered_map<std::int64_t, IndexCache> indexCache_;
  // File id -> the write serial during which the file was found holding no
  // other live session's lock.
  std::unordered_map<std::int64_t, std::uint64_t> lockFreeSerial_;
};

// A write: joins the open Transaction, or runs its own BEGIN IMMEDIATE that
// is rolled back unless Commit is reached.
class WriteScope {
 public:
  explicit WriteScope(DatabaseImpl& db);
  ~WriteScope();
  WriteScope(const WriteScope&) = delete;
  WriteScope& operator=(const WriteScope&) = delete;
  void Commit();

 private:
  DatabaseImpl& db_;
  bool own_ = false;
};

// Runs `attempt` (which returns false when another session's lock blocked
// it, after undoing its work) until it succeeds or the lock wait gives up.
template <class Attempt>
void RetryWhileLocked(DatabaseImpl& db, const FileBinding& file, std::string_view key,
                      Attempt attempt) {
  std::int64_t deadline = -1;
  while (!attempt()) {
    if (deadline < 0) deadline = db.LockDeadline();
    db.WaitForLock(file, key, deadline);
  }
}

// Validation shared by the operations (database.cpp).
void CheckKey(std::string_view key);        // kErrBadArgument
void CheckFileName(std::string_view name);  // kErrBadArgument

}  // namespace dba
