// DatabaseImpl: the storage backend behind a Database object. One backend
// per kind of storage (SQLite file, PostgreSQL server); DBFile, CItem and
// Database hand every operation to it. Internal to the database layer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dba/database.h"

namespace dba {

// The file a record or a DBFile belongs to. Holds the database alive, so a
// record read from a file can always be written back.
struct FileBinding {
  std::shared_ptr<Database> db;
  std::string name;
  std::int64_t id = 0;
};

// Each operation keeps the contract stated in database.h; a backend differs
// only in where the bytes live and how sessions learn of each other.
class DatabaseImpl {
 public:
  virtual ~DatabaseImpl() = default;
  DatabaseImpl(const DatabaseImpl&) = delete;
  DatabaseImpl& operator=(const DatabaseImpl&) = delete;

  const std::string& path() const { return path_; }
  const OpenOptions& options() const { return options_; }

  // Files.
  [[nodiscard]] virtual std::int64_t FileId(std::string_view name) = 0;  // kErrFileNotFound
  virtual void CreateFile(std::string_view name) = 0;
  virtual void DeleteFile(std::string_view name) = 0;
  [[nodiscard]] virtual std::vector<std::string> Files() = 0;
  virtual void CreateIndex(std::string_view name, int attribute) = 0;
  [[nodiscard]] virtual const std::vector<int>& IndexedAttributes(std::int64_t fileId) = 0;

  // Transactions: a write outside a Transaction runs in one of its own.
  [[nodiscard]] virtual bool InTransaction() const = 0;
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;

  // Records.
  [[nodiscard]] virtual std::string Read(const FileBinding& file, std::string_view key) = 0;
  // The bodies of `keys` in their order ("" for a missing record), as Read
  // would give them one by one; a server backend reads them in one go.
  [[nodiscard]] virtual std::vector<std::string> ReadMany(const FileBinding& file,
                                                          const std::vector<std::string>& keys) {
    std::vector<std::string> bodies;
    bodies.reserve(keys.size());
    for (const std::string& key : keys) bodies.push_back(Read(file, key));
    return bodies;
  }
  virtual void Write(const FileBinding& file, std::string_view key, std::string_view body) = 0;
  virtual int Delete(const FileBinding& file, std::string_view key) = 0;
  virtual void Scan(const FileBinding& file,
                    const std::function<void(std::string_view, std::string_view)>& visit) = 0;

  // Record locks.
  [[nodiscard]] virtual std::string ReadLocked(const FileBinding& file, std::string_view key) = 0;
  virtual void Release(const FileBinding& file, std::string_view key) = 0;
  virtual bool ClearLock(std::int64_t fileId, std::string_view key) = 0;

  // Selections: the result record (see RunSelect).
  [[nodiscard]] virtual CItem Select(std::string_view requestText, int* count) = 0;
  // Several at once: a server backend sends them in one round trip.
  [[nodiscard]] virtual std::vector<CItem> SelectMany(
      const std::vector<std::string>& requestTexts) {
    std::vector<CItem> results;
    for (const std::string& text : requestTexts) results.push_back(Select(text, nullptr));
    return results;
  }

  // The consistency check (Database::Check), outside any transaction.
  [[nodiscard]] virtual std::vector<std::string> Check() = 0;

  // Statements sent to the storage so far (Database::Statements).
  [[nodiscard]] virtual std::uint64_t Statements() const = 0;

  std::map<std::string, Routine, std::less<>> routines;
  std::uint64_t recordWrites = 0;  // Database::RecordWrites

 protected:
  DatabaseImpl(std::string path, const OpenOptions& options)
      : path_(std::move(path)), options_(options) {}

 private:
  std::string path_;
  OpenOptions options_;
};

// Validation shared by the backends (database.cpp).
void CheckKey(std::string_view key);        // kErrBadArgument
void CheckFileName(std::string_view name);  // kErrBadArgument
// Whether `path` names a PostgreSQL database (a libpq URI) rather than a file.
[[nodiscard]] bool IsServerUri(std::string_view path);

}  // namespace dba
