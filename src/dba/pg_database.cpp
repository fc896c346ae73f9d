// The PostgreSQL backend's session: owner number, write transactions,
// files, records and record locks (see pg_database.h). Database layer.
#include "dba/pg_database.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <random>
#include <set>
#include <thread>
#include <utility>

#include "dba/record_text.h"
#include "dba/redact.h"

namespace dba {

namespace {

std::int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string OwnerInfo() {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) host[0] = '?';
  std::string info = std::to_string(getpid()) + "@";
  for (const char* p = host; *p && info.size() < 80; ++p) {
    info.push_back(static_cast<unsigned char>(*p) < 0x80 ? *p : '?');  // text column: ASCII only
  }
  return info;
}

[[noreturn]] void Rethrow(const DbaError& e, const FileBinding& file) {
  if (e.number() == kErrFileNotFound) {
    throw DbaError(kErrFileNotFound, "Le fichier « " + file.name + " » n'existe plus.");
  }
  throw e;
}

// The index entries a write removes and adds: per indexed attribute, the
// pieces (values and subvalues) of the old text missing from the new, and
// the other way round. Both lists are free of repeats and disjoint.
struct EntryChanges {
  std::vector<std::int32_t> goneAttrs, newAttrs;
  std::vector<std::string_view> goneValues, newValues;
};

EntryChanges Changes(const std::vector<int>& attributes, std::string_view oldBody, bool hadOld,
                     std::string_view newBody, bool hasNew) {
  EntryChanges c;
  for (const int attribute : attributes) {
    const std::string_view before = text::Field(oldBody, kAttributeMark, attribute);
    const std::string_view after = text::Field(newBody, kAttributeMark, attribute);
    if (hadOld && hasNew && before == after) continue;  // the usual case of a rewrite
    std::set<std::string_view> was, is;
    if (hadOld) text::ForEachPiece(before, [&](std::string_view p) { was.insert(p); });
    if (hasNew) text::ForEachPiece(after, [&](std::string_view p) { is.insert(p); });
    for (std::string_view p : was) {
      if (!is.count(p)) c.goneAttrs.push_back(attribute), c.goneValues.push_back(p);
    }
    for (std::string_view p : is) {
      if (!was.count(p)) c.newAttrs.push_back(attribute), c.newValues.push_back(p);
    }
  }
  return c;
}

// A record known to exist, rewritten in one of the plain statements of the
// usual cases: no entry changes, or one entry of one attribute becomes
// another (a case moved to another centre). False when the write needs
// kWriteIndexedFree: more changes, or the record or its entries were not
// as the caller knew them (the entries are then put right by it).
bool Rewritten(pg::Connection& conn, std::int64_t fileId, std::string_view key,
               std::string_view body, const EntryChanges& c) {
  pg::Params p;
  p.Int(fileId).Bytes(key).Bytes(body);
  if (c.goneAttrs.empty() && c.newAttrs.empty()) {
    return conn.Run(pg::Sql::kRewrite, p).Changed() == 1;
  }
  if (c.goneAttrs.size() != 1 || c.newAttrs.size() != 1 || c.goneAttrs[0] != c.newAttrs[0]) {
    return false;
  }
  p.Int4(c.goneAttrs[0]).Bytes(c.goneValues[0]).Bytes(c.newValues[0]);
  return conn.Run(pg::Sql::kRewriteMovingEntry, p).Changed() == 1;
}

}  // namespace

// A write: joins the open Transaction, or runs its own write transaction
// (write lock first) that is rolled back unless Commit is reached.
class PgWrite {
 public:
  explicit PgWrite(PgDatabase& db) : db_(db) {
    if (db_.inTransaction_) {
      db_.EnsureBegun();
      return;
    }
    db_.BeginWrite();
    db_.scopeOpen_ = true;
    own_ = true;
  }
  ~PgWrite() {
    if (own_) db_.EndWrite(false);
  }
  PgWrite(const PgWrite&) = delete;
  PgWrite& operator=(const PgWrite&) = delete;
  void Commit() {
    if (!own_) return;
    own_ = false;
    db_.EndWrite(true);
  }

 private:
  PgDatabase& db_;
  bool own_ = false;
};

std::unique_ptr<DatabaseImpl> OpenPostgres(const std::string& uri, const OpenOptions& options) {
  auto c = pg::Connection::Open(uri, options.create, options.busyTimeoutMs);
  return std::make_unique<PgDatabase>(uri, options, std::move(c));
}

PgDatabase::PgDatabase(std::string uri, const OpenOptions& options,
                       std::unique_ptr<pg::Connection> c)
    : DatabaseImpl(std::move(uri), options), conn_(std::move(c)), ownerInfo_(OwnerInfo()) {
  // A random owner number, held for the session's life; another live
  // session holding the same one (a chance in 2^63) makes us draw again.
  std::random_device rd;
  for (;;) {
    owner_ = static_cast<std::int64_t>(((std::uint64_t{rd()} << 32) | rd()) >> 1);
    if (owner_ != 0 && TakeOwnerLock()) break;
  }
  // A new session after a dropped one takes the same number back: the
  // record locks this one held stay ours unless another session took them
  // over while we were away.
  conn_->OnReconnect([this] {
    if (!TakeOwnerLock()) {
      throw DbaError(kErrStorage,
                     "Les verrous de cette session sont repris par une autre session.");
    }
  });
}

bool PgDatabase::TakeOwnerLock() {
  pg::Result r =
      conn_->Exec(("SELECT pg_try_advisory_lock(" + std::to_string(owner_) + ")").c_str());
  return r.Bytes(0, 0) == "t";
}

PgDatabase::~PgDatabase() {
  if (conn_->Lost()) return;  // nothing of ours is left on the server
  try {
    conn_->RollbackBlock();
    if (tookLocks_) {
      pg::Params p;
      p.Int(owner_);
      conn_->Run(pg::Sql::kReleaseOwner, p);
    }
  } catch (...) {  // the rows are stale once the session ends, just below
  }
}

// --- Transactions -------------------------------------------------------
// States: idle; in a Transaction (inTransaction_); in the PgWrite of one
// write (scopeOpen_). Both hold the write lock from BeginWrite. A failed
// statement leaves the server's transaction failed: it can only be rolled
// back, and Commit reports that it was.

void PgDatabase::BeginWrite() {
  try {
    Began(conn_->Exec(pg::BeginWriteAndLook(owner_).c_str()));
  } catch (...) {
    conn_->RollbackBlock();
    throw;
  }
}

void PgDatabase::EnsureBegun() {
  if (!pendingBegin_) return;
  pendingBegin_ = false;
  try {
    BeginWrite();
  } catch (...) {
    pendingBegin_ = true;  // nothing was done: the next step tries again
    throw;
  }
}

pg::Result PgDatabase::RunFirst(pg::Sql id, pg::Params& params) {
  if (!pendingBegin_) return conn_->Run(id, params);
  pendingBegin_ = false;
  try {
    auto [look, r] = conn_->RunAfter(pg::BeginWriteAndLook(owner_), id, params);
    Began(look);
    return std::move(r);
  } catch (...) {
    conn_->RollbackBlock();
    pendingBegin_ = true;
    throw;
  }
}

void PgDatabase::Began(const pg::Result& look) {
  const std::string indexes(look.Bytes(0, 0)), locked(look.Bytes(0, 1));
  ++writeSerial_;
  // "id:attr," and "id," lists, in text.
  knownIndexes_.clear();
  for (std::size_t at = 0; at < indexes.size();) {
    const std::size_t colon = indexes.find(':', at), comma = indexes.find(',', at);
    knownIndexes_[std::stoll(indexes.substr(at, colon - at))].push_back(
        std::stoi(indexes.substr(colon + 1, comma - colon - 1)));
    at = comma + 1;
  }
  for (auto& [id, attributes] : knownIndexes_) std::sort(attributes.begin(), attributes.end());
  indexesSerial_ = writeSerial_;
  othersLockIn_.clear();
  for (std::size_t at = 0; at < locked.size();) {
    const std::size_t comma = locked.find(',', at);
    othersLockIn_.insert(std::stoll(locked.substr(at, comma - at)));
    at = comma + 1;
  }
  txBodies_.clear();
  txBytes_ = 0;
}

void PgDatabase::EndWrite(bool commit) {
  scopeOpen_ = false;
  txBodies_.clear();
  txBytes_ = 0;
  if (commit) {
    try {
      pg::Result r = conn_->Exec("COMMIT");
      if (r.Status() == "ROLLBACK") {
        throw DbaError(kErrStorage,
                       "La transaction a été annulée par le serveur après une erreur.");
      }
      return;
    } catch (...) {
      conn_->RollbackBlock();
      throw;
    }
  }
  if (conn_->InBlock()) {
    try {
      conn_->RollbackBlock();
    } catch (...) {  // called from destructors; the session is lost anyway
    }
  }
}

void PgDatabase::Begin() {
  if (Writing()) {
    throw DbaError(kErrTransaction, "Une transaction est déjà ouverte sur cette base de données.");
  }
  // Nothing is sent yet: the write lock is taken in the round trip of the
  // transaction's first step, a read as a rule, which then sees all that the
  // lock's previous holders committed.
  inTransaction_ = true;
  pendingBegin_ = true;
}

void PgDatabase::Commit() {
  if (!inTransaction_) throw DbaError(kErrTransaction, "Aucune transaction n'est ouverte.");
  inTransaction_ = false;
  if (pendingBegin_) {
    pendingBegin_ = false;  // nothing was done in it
    return;
  }
  EndWrite(true);
}

void PgDatabase::Rollback() {
  if (!inTransaction_) throw DbaError(kErrTransaction, "Aucune transaction n'est ouverte.");
  inTransaction_ = false;
  if (pendingBegin_) {
    pendingBegin_ = false;
    return;
  }
  EndWrite(false);
}

template <class Attempt>
void PgDatabase::RetryWhileLocked(const FileBinding& file, std::string_view key, Attempt attempt) {
  std::int64_t deadline = -1;
  while (!attempt()) {
    const std::int64_t now = NowMs();
    if (deadline < 0) deadline = now + options().lockTimeoutMs;
    // Inside a Transaction we hold the write lock the owner needs to
    // release its record: waiting could only end in the timeout.
    if (inTransaction_ || now >= deadline) {
      throw DbaError(kErrRecordLocked, "L'enregistrement « " + std::string(key) + " » du fichier " +
                                           file.name + " est verrouillé par une autre session.");
    }
    std::this_thread::sleep_for(
        std::chrono::milliseconds(std::min<std::int64_t>(20, deadline - now)));
  }
}

// --- Files --------------------------------------------------------------

void PgDatabase::LoadCatalog() {
  pg::Params p;
  pg::Result r = conn_->Run(pg::Sql::kCatalog, p);
  fileIds_.clear();
  knownIndexes_.clear();
  indexesSerial_ = 0;
  for (int i = 0; i < r.Rows(); ++i) {
    const std::int64_t id = r.Int(i, 1);
    fileIds_.emplace(std::string(r.Bytes(i, 0)), id);
    if (!r.IsNull(i, 2)) knownIndexes_[id].push_back(static_cast<int>(r.Int(i, 2)));
  }
}

const std::vector<int>& PgDatabase::KnownIndexes(std::int64_t fileId) const {
  static const std::vector<int> kNone;
  const auto found = knownIndexes_.find(fileId);
  return found == knownIndexes_.end() ? kNone : found->second;
}

std::int64_t PgDatabase::FileId(std::string_view name) {
  auto found = fileIds_.find(name);
  if (found == fileIds_.end()) {
    LoadCatalog();  // a file created since, by us or by another session
    found = fileIds_.find(name);
  }
  if (found == fileIds_.end()) {
    throw DbaError(kErrFileNotFound, "Le fichier « " + std::string(name) + " » n'existe pas.");
  }
  return found->second;
}

void PgDatabase::CreateFile(std::string_view name) {
  PgWrite w(*this);
  pg::Params p;
  p.Bytes(name);
  pg::Result r = conn_->Run(pg::Sql::kInsertFile, p);
  if (r.Rows() == 0) {
    throw DbaError(kErrFileExists, "Le fichier « " + std::string(name) + " » existe déjà.");
  }
  const std::int64_t id = r.Int(0, 0);
  w.Commit();
  fileIds_.insert_or_assign(std::string(name), id);
}

void PgDatabase::DeleteFile(std::string_view name) {
  PgWrite w(*this);
  pg::Params p;
  p.Bytes(name);
  pg::Result r = conn_->Run(pg::Sql::kDeleteFile, p);
  if (r.Rows() == 0) {
    throw DbaError(kErrFileNotFound, "Le fichier « " + std::string(name) + " » n'existe pas.");
  }
  const std::int64_t id = r.Int(0, 0);
  w.Commit();
  fileIds_.erase(fileIds_.find(name));
  knownIndexes_.erase(id);
}

std::vector<std::string> PgDatabase::Files() {
  EnsureBegun();
  pg::Params p;
  pg::Result r = conn_->Run(pg::Sql::kListFiles, p);
  std::vector<std::string> names;
  for (int i = 0; i < r.Rows(); ++i) names.emplace_back(r.Bytes(i, 0));
  return names;
}

const std::vector<int>& PgDatabase::IndexedAttributes(std::int64_t fileId) {
  EnsureBegun();
  // Under the write lock nobody else can add an index: the lists read when
  // it was taken hold until it is released.
  if (Writing() && indexesSerial_ == writeSerial_) return KnownIndexes(fileId);
  pg::Params p;
  p.Int(fileId);
  pg::Result r = conn_->Run(pg::Sql::kIndexedAttributes, p);
  std::vector<int>& attributes = knownIndexes_[fileId];
  attributes.clear();
  for (int i = 0; i < r.Rows(); ++i) attributes.push_back(static_cast<int>(r.Int(i, 0)));
  return attributes;
}

void PgDatabase::CreateIndex(std::string_view name, int attribute) {
  PgWrite w(*this);
  BuildIndex(FileId(name), attribute);
  w.Commit();
}

void PgDatabase::BuildIndex(std::int64_t fileId, int attribute) {
  {
    pg::Params p;
    p.Int(fileId).Int4(attribute);
    if (conn_->Run(pg::Sql::kInsertIndex, p).Rows() == 0) return;  // there already
  }
  std::vector<int>& known = knownIndexes_[fileId];
  known.insert(std::upper_bound(known.begin(), known.end(), attribute), attribute);
  pg::Params p;
  p.Int(fileId);
  pg::Result all = conn_->Run(pg::Sql::kScanAll, p);
  constexpr std::size_t kBatch = 20000;
  std::vector<std::string_view> values, keys;
  auto flush = [&] {
    if (values.empty()) return;
    pg::Params q;
    q.Int(fileId).Int4(attribute).BytesArray(values).BytesArray(keys);
    conn_->Run(pg::Sql::kInsertEntries, q);
    values.clear();
    keys.clear();
  };
  for (int i = 0; i < all.Rows(); ++i) {
    const std::string_view key = all.Bytes(i, 0);
    text::ForEachPiece(text::Field(all.Bytes(i, 1), kAttributeMark, attribute),
                       [&](std::string_view piece) {
                         values.push_back(piece);
                         keys.push_back(key);
                       });
    if (values.size() >= kBatch) flush();
  }
  flush();
}

// --- Records ------------------------------------------------------------

bool PgDatabase::OthersMayLock(std::int64_t fileId) {
  if (!inTransaction_) return true;
  // Taking a lock is a write: while this Transaction holds the write lock,
  // no other session's lock can appear, and our own never block us.
  return othersLockIn_.count(fileId) > 0;
}

void PgDatabase::RememberBody(std::int64_t fileId, std::string_view key, bool exists,
                              std::string_view body) {
  if (!inTransaction_) return;
  constexpr std::size_t kMostBytes = std::size_t{64} << 20;
  std::string k(reinterpret_cast<const char*>(&fileId), sizeof fileId);
  k.append(key);
  // The first byte tells whether the record exists: one may be stored empty.
  std::string v(1, exists ? '1' : '0');
  v.append(body);
  auto found = txBodies_.find(k);
  if (found != txBodies_.end()) {
    txBytes_ += v.size() - found->second.size();
    found->second = std::move(v);
    return;
  }
  if (txBytes_ + k.size() + v.size() > kMostBytes) return;
  txBytes_ += k.size() + v.size();
  txBodies_.emplace(std::move(k), std::move(v));
}

const std::string* PgDatabase::RememberedBody(std::int64_t fileId, std::string_view key) const {
  if (!inTransaction_ || txBodies_.empty()) return nullptr;
  std::string k(reinterpret_cast<const char*>(&fileId), sizeof fileId);
  k.append(key);
  const auto found = txBodies_.find(k);
  return found == txBodies_.end() ? nullptr : &found->second;
}

std::string PgDatabase::Read(const FileBinding& file, std::string_view key) {
  std::string body;
  if (pendingBegin_) {  // the transaction's first step: one round trip for both
    pg::Params p;
    p.Int(file.id).Bytes(key);
    pg::Result r = RunFirst(pg::Sql::kReadAny, p);
    // Inside a Transaction a record another session locks fails at once.
    if (!r.IsNull(0, 1) && HeldByOther(r.Int(0, 1))) {
      RetryWhileLocked(file, key, [] { return false; });
    }
    if (!r.IsNull(0, 0)) body.assign(r.Bytes(0, 0));
    RememberBody(file.id, key, !r.IsNull(0, 0), body);
    return body;
  }
  if (!OthersMayLock(file.id)) {
    pg::Params p;
    p.Int(file.id).Bytes(key);
    pg::Result r = conn_->Run(pg::Sql::kReadBody, p);
    if (r.Rows() > 0) body.assign(r.Bytes(0, 0));
    RememberBody(file.id, key, r.Rows() > 0, body);
    return body;
  }
  RetryWhileLocked(file, key, [&] {
    pg::Params p;
    p.Int(file.id).Bytes(key);
    {
      // The usual case, an existing record, in the lighter statement; a
      // missing one is looked at again with its lock (a session may hold
      // the lock of a record it is about to create).
      pg::Result r = conn_->Run(pg::Sql::kReadPresent, p);
      if (r.Rows() > 0) {
        if (!r.IsNull(0, 1) && HeldByOther(r.Int(0, 1))) return false;
        body.assign(r.Bytes(0, 0));
        return true;
      }
    }
    pg::Result r = conn_->Run(pg::Sql::kReadAny, p);
    if (!r.IsNull(0, 1) && HeldByOther(r.Int(0, 1))) return false;
    if (!r.IsNull(0, 0)) body.assign(r.Bytes(0, 0));
    return true;
  });
  return body;
}

std::vector<std::string> PgDatabase::ReadMany(const FileBinding& file,
                                              const std::vector<std::string>& keys) {
  std::vector<std::string> bodies(keys.size());
  if (keys.empty()) return bodies;
  EnsureBegun();
  std::vector<std::string_view> views(keys.begin(), keys.end());
  pg::Params p;
  p.Int(file.id).BytesArray(views);
  const bool locksMatter = OthersMayLock(file.id);
  pg::Result r = conn_->Run(locksMatter ? pg::Sql::kReadMany : pg::Sql::kReadManyBodies, p);
  for (int i = 0; i < r.Rows() && i < static_cast<int>(keys.size()); ++i) {
    // A record another live session locks is read alone, which waits for
    // it as DBRead does (or fails at once inside a Transaction).
    if (locksMatter && !r.IsNull(i, 1) && HeldByOther(r.Int(i, 1))) {
      bodies[i] = Read(file, keys[i]);
      continue;
    }
    if (!r.IsNull(i, 0)) bodies[i].assign(r.Bytes(i, 0));
    RememberBody(file.id, keys[i], !r.IsNull(i, 0), bodies[i]);
  }
  return bodies;
}

bool PgDatabase::HeldByOther(std::int64_t owner) {
  if (owner == owner_) return false;
  pg::Params p;
  p.Int(owner);
  return conn_->Run(pg::Sql::kOwnerAlive, p).Bool(0, 0);
}

void PgDatabase::Write(const FileBinding& file, std::string_view key, std::string_view body) {
  CheckKey(key);
  try {
    RetryWhileLocked(file, key, [&] {
      PgWrite w(*this);
      const std::vector<int>& attributes = IndexedAttributes(file.id);
      // Inside a Transaction, with no lock of ours or of others in the
      // file, a write is a plain upsert.
      const bool free = !tookLocks_ && !OthersMayLock(file.id);
      if (attributes.empty()) {
        pg::Params p;
        p.Int(file.id).Bytes(key).Bytes(body);
        if (free) {
          conn_->Run(pg::Sql::kUpsert, p);
        } else if (conn_->Run(pg::Sql::kWrite, p.Int(owner_)).Bool(0, 0)) {
          return false;
        }
      } else {
        pg::Params look;
        look.Int(file.id).Bytes(key);
        std::optional<pg::Result> old;
        const std::string* known = free ? RememberedBody(file.id, key) : nullptr;
        if (known) {
        } else if (free) {
          old.emplace(conn_->Run(pg::Sql::kReadBody, look));
        } else {
          old.emplace(conn_->Run(pg::Sql::kRead, look.Int(owner_)));
          if (old->Bool(0, 1)) return false;
        }
        const bool existed = known ? (*known)[0] == '1' : old->Rows() > 0 && !old->IsNull(0, 0);
        const std::string_view before = known     ? std::string_view(*known).substr(1)
                                        : existed ? old->Bytes(0, 0)
                                                  : std::string_view();
        const EntryChanges c = Changes(attributes, before, existed, body, true);
        if (free && existed && Rewritten(*conn_, file.id, key, body, c)) {
          w.Commit();
          RememberBody(file.id, key, true, body);
          ++recordWrites;
          return true;
        }
        pg::Params p;
        p.Int(file.id).Bytes(key).Bytes(body);
        if (!free) p.Int(owner_);
        p.Int4Array(c.goneAttrs)
            .BytesArray(c.goneValues)
            .Int4Array(c.newAttrs)
            .BytesArray(c.newValues);
        conn_->Run(free ? pg::Sql::kWriteIndexedFree : pg::Sql::kWriteIndexed, p);
      }
      w.Commit();
      RememberBody(file.id, key, true, body);
      ++recordWrites;
      return true;
    });
  } catch (const DbaError& e) {
    Rethrow(e, file);
  }
}

int PgDatabase::Delete(const FileBinding& file, std::string_view key) {
  if (key.empty()) return 1;  // no record can have it
  bool existed = false;
  try {
    RetryWhileLocked(file, key, [&] {
      PgWrite w(*this);
      const std::vector<int>& attributes = IndexedAttributes(file.id);
      if (attributes.empty()) {
        pg::Params p;
        p.Int(file.id).Bytes(key).Int(owner_);
        pg::Result r = conn_->Run(pg::Sql::kDeletePlain, p);
        if (r.Bool(0, 0)) return false;
        existed = r.Bool(0, 1);
        w.Commit();
        RememberBody(file.id, key, false, {});
        ++recordWrites;
        return true;
      }
      pg::Params look;
      look.Int(file.id).Bytes(key).Int(owner_);
      pg::Result old = conn_->Run(pg::Sql::kRead, look);
      if (old.Bool(0, 1)) return false;
      existed = !old.IsNull(0, 0);
      if (existed) {
        const EntryChanges c = Changes(attributes, old.Bytes(0, 0), true, {}, false);
        pg::Params p;
        p.Int(file.id).Bytes(key).Int(owner_).Int4Array(c.goneAttrs).BytesArray(c.goneValues);
        conn_->Run(pg::Sql::kDelete, p);
      } else {
        // Deleting a missing record still ends its lock.
        pg::Params p;
        p.Int(file.id).Bytes(key).Int(owner_);
        conn_->Run(pg::Sql::kReleaseLock, p);
      }
      w.Commit();
      RememberBody(file.id, key, false, {});
      ++recordWrites;
      return true;
    });
  } catch (const DbaError& e) {
    Rethrow(e, file);
  }
  return existed ? 0 : 1;
}

void PgDatabase::Scan(const FileBinding& file,
                      const std::function<void(std::string_view, std::string_view)>& visit) {
  // Inside a write the transaction's own view; otherwise one snapshot from
  // the first read to the end.
  EnsureBegun();
  const bool own = !Writing();
  if (own) conn_->Exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
  const std::string cursor = "mv_scan" + std::to_string(++scans_);
  try {
    // Asked of the server, not of the session's ids: a scan of a file
    // another session deleted must say so.
    pg::Params p;
    p.Bytes(file.name);
    pg::Result found = conn_->Run(pg::Sql::kFileByName, p);
    if (found.Rows() == 0 || found.Int(0, 0) != file.id) {
      throw DbaError(kErrFileNotFound, "Le fichier « " + file.name + " » n'existe plus.");
    }
    // A cursor reads the file in slices: memory stays bounded however
    // large it is. The id is a number of ours, not text from outside.
    conn_->Exec(("DECLARE " + cursor +
                 " BINARY NO SCROLL CURSOR FOR SELECT key, body FROM"
                 " mv_records WHERE file_id = " +
                 std::to_string(file.id) + " ORDER BY " MV_STORED("key"))
                    .c_str());
    // Long keys sharing their head come in the order of their hashes: each
    // such run waits (copied, it may span two slices) and goes out sorted.
    std::vector<std::pair<std::string, std::string>> run;
    const auto flush = [&] {
      std::stable_sort(run.begin(), run.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      for (const auto& [key, body] : run) visit(key, body);
      run.clear();
    };
    const std::string fetch = "FETCH 2000 FROM " + cursor;
    for (;;) {
      pg::Result r = conn_->Exec(fetch.c_str());
      if (r.Rows() == 0) break;
      for (int i = 0; i < r.Rows(); ++i) {
        const std::string_view key = r.Bytes(i, 0);
        if (!run.empty() && !pg::SameStoredHead(run.back().first, key)) flush();
        if (key.size() > pg::kHead) {
          run.emplace_back(key, r.Bytes(i, 1));
        } else {
          visit(key, r.Bytes(i, 1));
        }
      }
    }
    flush();
    conn_->Exec(("CLOSE " + cursor).c_str());
  } catch (...) {
    if (own) {
      conn_->RollbackBlock();
    } else {
      try {
        conn_->Exec(("CLOSE " + cursor).c_str());
      } catch (...) {  // not declared, or the transaction failed: nothing to close
      }
    }
    throw;
  }
  if (own) conn_->Exec("COMMIT");
}

// --- Record locks -------------------------------------------------------

std::string PgDatabase::ReadLocked(const FileBinding& file, std::string_view key) {
  CheckKey(key);
  std::string body;
  try {
    RetryWhileLocked(file, key, [&] {
      PgWrite w(*this);
      pg::Params p;
      p.Int(file.id).Bytes(key).Int(owner_).Bytes(ownerInfo_);
      pg::Result r = conn_->Run(pg::Sql::kReadLocked, p);
      if (r.Bool(0, 1)) return false;
      body.assign(r.IsNull(0, 0) ? std::string_view() : r.Bytes(0, 0));
      tookLocks_ = true;
      w.Commit();
      return true;
    });
  } catch (const DbaError& e) {
    Rethrow(e, file);
  }
  return body;
}

void PgDatabase::Release(const FileBinding& file, std::string_view key) {
  EnsureBegun();
  pg::Params p;
  p.Int(file.id).Bytes(key).Int(owner_);
  conn_->Run(pg::Sql::kReleaseLock, p);
}

bool PgDatabase::ClearLock(std::int64_t fileId, std::string_view key) {
  PgWrite w(*this);
  pg::Params p;
  p.Int(fileId).Bytes(key);
  const bool cleared = conn_->Run(pg::Sql::kClearLock, p).Rows() > 0;
  w.Commit();
  return cleared;
}

void DropServerSession(Database& db) {
  auto* pg = dynamic_cast<PgDatabase*>(&db.impl());
  if (pg == nullptr) {
    throw DbaError(kErrBadArgument,
                   "Cette base de données n'est pas sur un serveur : il n'y a pas de session à "
                   "couper.");
  }
  pg->DropSession();
}

void PgDatabase::DropSession() {
  const int pid = PQbackendPID(conn_->handle());
  if (pid == 0) return;  // dropped already
  PGconn* other = PQconnectdb(path().c_str());
  if (other == nullptr || PQstatus(other) != CONNECTION_OK) {
    std::string why = other ? PQerrorMessage(other) : "mémoire";
    PQfinish(other);
    while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
    throw DbaError(kErrStorage,
                   "Pas de connexion au serveur de base de données : " + RedactSecrets(why) + ".");
  }
  // A session ended already is no news worth a warning on stderr.
  PQsetNoticeProcessor(
      other, [](void*, const char*) {}, nullptr);
  // The timeout makes the call wait until the session has really ended.
  const std::string sql = "SELECT pg_terminate_backend(" + std::to_string(pid) + ", 5000)";
  PGresult* r = PQexec(other, sql.c_str());
  const bool done = PQresultStatus(r) == PGRES_TUPLES_OK;
  const std::string why = PQresultErrorMessage(r);
  PQclear(r);
  PQfinish(other);
  if (!done) throw DbaError(kErrStorage, "La session n'a pas pu être coupée : " + why);
}

}  // namespace dba
