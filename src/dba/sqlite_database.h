// SqliteDatabase: the SQLite backend of a Database object (connection,
// transaction state, lock owner) and its record operations. Internal to the
// database layer.
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

#include "dba/database_impl.h"
#include "dba/sqlite_store.h"
#include "dba/unique_fd.h"

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

  [[nodiscard]] const std::string& Token() const { return token_; }
  // Whether the session that wrote `token` into a lock row still lives.
  [[nodiscard]] bool Alive(std::string_view token) const;

 private:
  UniqueFd fd_;  // its close drops the slot's lock: our rows turn stale
  std::string token_;
};

class SqliteDatabase final : public DatabaseImpl {
 public:
  SqliteDatabase(std::string path, const OpenOptions& options,
                 std::unique_ptr<store::Connection> connection);
  ~SqliteDatabase() override;

  store::Connection& conn() { return *conn_; }
  [[nodiscard]] std::uint64_t Statements() const override { return conn_->Runs(); }

  // Files (sqlite_files.cpp).
  [[nodiscard]] std::int64_t FileId(std::string_view name) override;  // kErrFileNotFound
  void CreateFile(std::string_view name) override;
  void DeleteFile(std::string_view name) override;
  [[nodiscard]] std::vector<std::string> Files() override;
  void CreateIndex(std::string_view name, int attribute) override;
  [[nodiscard]] CItem Select(std::string_view requestText, int* count) override;
  [[nodiscard]] std::vector<std::string> Check() override;  // sqlite_check.cpp

  // Transactions (transaction.cpp). A write outside a Transaction runs in its
  // own BEGIN IMMEDIATE ... COMMIT; inside one it joins it.
  [[nodiscard]] bool InTransaction() const override { return inTransaction_; }
  void Begin() override;
  void Commit() override;
  void Rollback() override;
  // True while this connection holds the write lock (a Transaction or a
  // WriteScope): nobody else can change the schema of indexes meanwhile.
  [[nodiscard]] bool Writing() const { return inTransaction_ || scopeOpen_; }
  void BeginScope();
  void EndScope(bool commit);

  // Records (records.cpp).
  [[nodiscard]] std::string Read(const FileBinding& file, std::string_view key) override;
  [[nodiscard]] std::vector<std::string> ReadMany(const FileBinding& file,
                                                  const std::vector<std::string>& keys) override;
  void Write(const FileBinding& file, std::string_view key, std::string_view body) override;
  int Delete(const FileBinding& file, std::string_view key) override;
  void Scan(const FileBinding& file,
            const std::function<void(std::string_view, std::string_view)>& visit) override;

  // Record locks (record_locks.cpp).
  [[nodiscard]] std::string ReadLocked(const FileBinding& file, std::string_view key) override;
  void Release(const FileBinding& file, std::string_view key) override;
  bool ClearLock(std::int64_t fileId, std::string_view key) override;
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
  [[nodiscard]] const std::vector<int>& IndexedAttributes(std::int64_t fileId) override;
  void UpdateIndexEntries(std::int64_t fileId, std::string_view key, std::string_view oldBody,
                          std::string_view newBody, bool hadOld, bool hasNew);
  void BuildIndex(std::int64_t fileId, int attribute);

 private:
  void ReleaseAllLocks() noexcept;
  void FinishWrite(WriteScope& w, std::int64_t fileId, std::string_view key);

  std::unique_ptr<store::Connection> conn_;
  SessionOwner session_;
  bool inTransaction_ = false;
  bool scopeOpen_ = false;
  std::uint64_t writeSerial_ = 0;                             // bumped at each BEGIN IMMEDIATE
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
  explicit WriteScope(SqliteDatabase& db);
  ~WriteScope();
  WriteScope(const WriteScope&) = delete;
  WriteScope& operator=(const WriteScope&) = delete;
  void Commit();

 private:
  SqliteDatabase& db_;
  bool own_ = false;
};

// Runs `attempt` (which returns false when another session's lock blocked
// it, after undoing its work) until it succeeds or the lock wait gives up.
template <class Attempt>
void RetryWhileLocked(SqliteDatabase& db, const FileBinding& file, std::string_view key,
                      Attempt attempt) {
  std::int64_t deadline = -1;
  while (!attempt()) {
    if (deadline < 0) deadline = db.LockDeadline();
    db.WaitForLock(file, key, deadline);
  }
}

}  // namespace dba
