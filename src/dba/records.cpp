// Reading, writing and deleting records: each write is one SQLite
// transaction (or joins the open Transaction) that also keeps the file's
// indexes and the writer's record lock in step. Database layer.
#include <string>

#include "dba/sqlite_database.h"

namespace dba {

namespace {

// What a write finds before changing a record.
struct Found {
  bool blocked = false;  // locked by another live session
  bool existed = false;
  std::string oldBody;  // filled only when indexes need it
};

Found Look(SqliteDatabase& db, const FileBinding& file, std::string_view key, bool wantBody) {
  Found f;
  store::Step s(db.conn(), store::Sql::kReadWithLock);
  s.Int(1, file.id).Text(2, key);
  s.Next();  // one row, always
  f.existed = !s.IsNull(0);
  f.blocked = !s.IsNull(1) && db.HeldByOther(s.ColText(1));
  if (wantBody && f.existed && !f.blocked) f.oldBody.assign(s.ColBlob(0));
  return f;
}

// Whether another live session locks the record: all a write to a file
// without indexes must know before it replaces the record.
bool BlockedByOther(SqliteDatabase& db, const FileBinding& file, std::string_view key) {
  store::Step s(db.conn(), store::Sql::kLockOwner);
  s.Int(1, file.id).Text(2, key);
  return s.Next() && db.HeldByOther(s.ColText(0));
}

// Replaces an existing record's body; false when there is no such record.
bool Replace(store::Connection& c, std::int64_t fileId, std::string_view key,
             std::string_view body) {
  store::Step(c, store::Sql::kUpdateBody).Int(1, fileId).Text(2, key).Blob(3, body).Run();
  return sqlite3_changes(c.handle()) > 0;
}

[[noreturn]] void Rethrow(const DbaError& e, const FileBinding& file) {
  if (e.number() == kErrFileNotFound) {
    throw DbaError(kErrFileNotFound, "Le fichier « " + file.name + " » n'existe plus.");
  }
  throw e;
}

}  // namespace

bool SqliteDatabase::OthersMayLock(std::int64_t fileId) {
  // Outside a Transaction another process may take a lock at any time; a
  // single write asks about its one record, cheaper than the whole file.
  if (!InTransaction()) return true;
  // Taking a lock is a write: while this Transaction holds the write lock,
  // no other session's lock can appear, and our own never block us.
  auto found = lockFreeSerial_.find(fileId);
  if (found != lockFreeSerial_.end() && found->second == writeSerial_) return false;
  {
    store::Step s(*conn_, store::Sql::kLockOwnersOfFile);
    s.Int(1, fileId);
    while (s.Next()) {
      if (HeldByOther(s.ColText(0))) return true;
    }
  }
  lockFreeSerial_[fileId] = writeSerial_;
  return false;
}

std::string SqliteDatabase::Read(const FileBinding& file, std::string_view key) {
  if (!OthersMayLock(file.id)) {
    store::Step s(*conn_, store::Sql::kReadBody);
    s.Int(1, file.id).Text(2, key);
    return s.Next() ? std::string(s.ColBlob(0)) : std::string();
  }
  std::int64_t deadline = -1;
  for (;;) {
    {
      // The usual case, an existing record, in one statement; a missing
      // one is looked at again with its lock in one snapshot (a session may
      // hold the lock of a record it is about to create).
      store::Step s(*conn_, store::Sql::kReadIfPresent);
      s.Int(1, file.id).Text(2, key);
      if (s.Next()) {
        if (s.IsNull(1) || !HeldByOther(s.ColText(1))) return std::string(s.ColBlob(0));
      } else {
        s.Reset();
        store::Step m(*conn_, store::Sql::kReadWithLock);
        m.Int(1, file.id).Text(2, key);
        m.Next();  // one row, always
        if (m.IsNull(1) || !HeldByOther(m.ColText(1))) return std::string(m.ColBlob(0));
      }
    }
    if (deadline < 0) deadline = LockDeadline();
    WaitForLock(file, key, deadline);
  }
}

std::vector<std::string> SqliteDatabase::ReadMany(const FileBinding& file,
                                                  const std::vector<std::string>& keys) {
  // The keys go in as one JSON array of strings: printable ASCII only, so
  // that no key can be read as another; any other key is read one by one.
  std::string json = "[";
  for (const std::string& key : keys) {
    for (const unsigned char c : key) {
      if (c < 0x20 || c >= 0x80) return DatabaseImpl::ReadMany(file, keys);
    }
    json += json.size() > 1 ? ",\"" : "\"";
    for (const char c : key) {
      if (c == '"' || c == '\\') json += '\\';
      json += c;
    }
    json += '"';
  }
  json += ']';
  std::vector<std::string> bodies;
  bodies.reserve(keys.size());
  std::vector<std::size_t> locked;  // read again alone, waiting for their lock
  {
    store::Step s(*conn_, store::Sql::kReadMany);
    s.Int(1, file.id).Text(2, json);
    while (s.Next()) {
      if (!s.IsNull(1) && HeldByOther(s.ColText(1))) locked.push_back(bodies.size());
      bodies.emplace_back(s.IsNull(0) ? std::string_view() : s.ColBlob(0));
    }
  }
  for (const std::size_t i : locked) bodies[i] = Read(file, keys[i]);
  return bodies;
}

void SqliteDatabase::Write(const FileBinding& file, std::string_view key, std::string_view body) {
  CheckKey(key);
  try {
    RetryWhileLocked(*this, file, key, [&] {
      WriteScope w(*this);
      bool mayExist = true;  // unknown unless an index made us look
      if (IndexedAttributes(file.id).empty()) {
        if (OthersMayLock(file.id) && BlockedByOther(*this, file, key)) return false;
      } else {
        const Found f = Look(*this, file, key, true);
        if (f.blocked) return false;
        UpdateIndexEntries(file.id, key, f.oldBody, body, f.existed, true);
        mayExist = f.existed;
      }
      // A rewrite, the common case, is one tree search as an UPDATE; an
      // upsert would search once for the conflict and once more to update.
      if (!mayExist || !Replace(*conn_, file.id, key, body)) {
        store::Step(*conn_, store::Sql::kUpsert).Int(1, file.id).Text(2, key).Blob(3, body).Run();
      }
      FinishWrite(w, file.id, key);
      return true;
    });
  } catch (const DbaError& e) {
    Rethrow(e, file);
  }
}

int SqliteDatabase::Delete(const FileBinding& file, std::string_view key) {
  if (key.empty()) return 1;  // no record can have it
  bool existed = false;
  try {
    RetryWhileLocked(*this, file, key, [&] {
      WriteScope w(*this);
      const bool indexed = !IndexedAttributes(file.id).empty();
      const Found f = Look(*this, file, key, indexed);
      if (f.blocked) return false;
      existed = f.existed;
      if (existed) {
        if (indexed) UpdateIndexEntries(file.id, key, f.oldBody, {}, true, false);
        store::Step(*conn_, store::Sql::kDeleteRecord).Int(1, file.id).Text(2, key).Run();
      }
      FinishWrite(w, file.id, key);
      return true;
    });
  } catch (const DbaError& e) {
    Rethrow(e, file);
  }
  return existed ? 0 : 1;
}

void SqliteDatabase::Scan(const FileBinding& file,
                          const std::function<void(std::string_view, std::string_view)>& visit) {
  // One read transaction holds one snapshot from its first read to its end;
  // inside a write (a Transaction) the snapshot is the transaction's own.
  const bool own = !Writing();
  if (own) store::Step(*conn_, store::Sql::kBegin).Run();
  try {
    {
      store::Step s(*conn_, store::Sql::kFileByName);
      s.Text(1, file.name);
      if (!s.Next() || s.ColInt(0) != file.id) {
        throw DbaError(kErrFileNotFound, "Le fichier « " + file.name + " » n'existe plus.");
      }
    }
    store::Step s(*conn_, store::Sql::kScanAll);
    s.Int(1, file.id);
    while (s.Next()) visit(s.ColText(0), s.ColBlob(1));
  } catch (...) {
    if (own && !sqlite3_get_autocommit(conn_->handle())) {
      sqlite3_exec(conn_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    throw;
  }
  if (own) store::Step(*conn_, store::Sql::kCommit).Run();
}

void SqliteDatabase::FinishWrite(WriteScope& w, std::int64_t fileId, std::string_view key) {
  // Writing or deleting a record ends its lock, as in any multivalue system.
  const bool releases = MayHoldLock(fileId, key);
  if (releases) {
    store::Step(*conn_, store::Sql::kReleaseLock)
        .Int(1, fileId)
        .Text(2, key)
        .Text(3, OwnerToken())
        .Run();
  }
  w.Commit();
  ++recordWrites;
  if (releases && !InTransaction()) ForgetLock(fileId, key);
}

}  // namespace dba
