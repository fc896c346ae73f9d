// Database and DBFile: the database and file objects of the multivalue
// database component. Part of the database layer (src/dba, no Qt).
//
// One SQLite file (WAL mode) holds every multivalue file of a database; or,
// for several workstations, a PostgreSQL database named by a libpq URI
// ("postgresql://..." or "postgres://..."), with the same behaviour byte for
// byte. Multivalue files are created by an administrative operation
// (CreateFile), never by DBOpen. Several processes may open the same
// database.
//
//   auto db = dba::Database::Open("paie.mvdb");
//   dba::DBFile centres = db->DBOpen("CENTREURSSAF");
//   dba::CItem c = centres.DBRead("07");      // "" when the key is missing
//   c.setItem(2, "URSSAF Rhône-Alpes");
//   c.DBWrite();                               // durable and atomic
//
//   dba::CItem req;                            // a request record (Requete)
//   req.setItem(1, "SSELECT CENTREURSSAF PAR 1");
//   req.setItem(2, "CENTREURSSAF");
//   req.setItem(3, "0 1");
//   dba::CItem result = db->DBSelect(req.Item());
//   // result attribute i = i-th record, value k = k-th requested column
//
// Selections (the sentence's words in any letter case, the file name exact):
// - "SELECT" without a sort clause and "SSELECT" without one give the records
//   in key order (the storage order). "PAR"/"BY" n and "PAR-DSND"/"BY-DSND" n
//   sort on attribute n (several allowed), byte by byte (left-justified); ties
//   always end on the key, ascending.
// - "AVEC"/"WITH" n op "value": op is = # < > <= >= (or <>, EQ NE LT GT LE
//   GE); "0" and "@ID" are the key. For = and #, a "]" closing the value means
//   begins with, a "[" opening it ends with, both contains. Conditions join
//   with "ET"/"AND" and "OU"/"OR"; ET binds tighter.
// - A multivalued attribute matches when any of its values (or subvalues)
//   does, for "#" too: "#" keeps a record when some value differs. An empty
//   attribute is one empty value.
// - A column holds the whole attribute, its value marks turned into subvalue
//   marks so the result keeps one value per column. No columns means "0".
// - The request's file name (attribute 2) is "" or the sentence's file;
//   anything else, like a malformed sentence, throws kErrQuerySyntax. An
//   unknown file throws kErrFileNotFound. A failed selection changes nothing.
// - Equality and begins-with conditions on the key or on an indexed
//   attribute (CreateIndex) read only the matching records; results are the
//   same with or without an index.
//
// Record locks: a session (one Database object) that holds a lock sees its
// record as usual; other sessions' DBRead, ReadLocked, DBWrite and DBDelete
// of it wait up to lockTimeoutMs, then throw kErrRecordLocked. Inside a
// Transaction they fail at once: the owner could not release the record
// while the transaction holds the write lock. A Database lives while any
// DBFile or record bound to it does; its locks end when it goes. Locks of a
// session that ended without releasing them (its process killed or crashed,
// here or on another machine sharing the file) are ignored: while it lives
// a session holds an OS lock on a slot of the side file "<database>-owners",
// which the kernel drops when the process ends, so a reused process id
// keeps nothing alive. That file must not be deleted while the database is
// in use. On PostgreSQL a lock belongs to the session's server connection
// and is ignored once the server has ended it. A session the server ended
// is opened again by the next operation outside a Transaction (the same
// servers, so a URI naming a primary and its standby follows the primary),
// and its locks hold again unless another session took them meanwhile;
// inside a Transaction the operation throws kErrStorage and the
// transaction is rolled back. ClearLock removes a lock by
// hand. ForEachRecord is not held up by
// locks.
//
// A Database object is used by one thread at a time.
//
// Read-modify-write across processes:
//   dba::Transaction t(*db);                   // takes the write lock first
//   dba::CItem n = counters.DBRead("999");
//   ... n.DBWrite(); t.Commit();               // rollback if not committed
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dba/citem.h"
#include "dba/dba_error.h"

namespace dba {

class Database;
class DatabaseImpl;

// A named routine of the database, run by DBCall: (database, number by
// reference, parameter text) -> returned record.
using Routine = std::function<CItem(Database&, int& number, std::string_view parameter)>;

class DBFile {
 public:
  DBFile() = default;

  // The record stored under `key`; a record bound to `key` whose whole text
  // is "" when the key does not exist. Throws kErrRecordLocked when another
  // session holds the record's lock past the lock timeout.
  [[nodiscard]] CItem DBRead(std::string_view key) const;
  // The records of `keys`, in their order, as DBRead gives each one (and
  // with its locks' waits and errors), but read together: on a server, one
  // round trip for all of them when none is locked by another session.
  [[nodiscard]] std::vector<CItem> DBReadMany(const std::vector<std::string>& keys) const;
  // A new empty record bound to `key` (nothing is written until DBWrite).
  [[nodiscard]] CItem DBNew(std::string_view key) const;
  // Deletes the record; returns 0 when deleted, 1 when there was none.
  int DBDelete(std::string_view key) const;

  // Reads the record and takes its lock (as a multivalue READU does): other
  // sessions' DBRead/ReadLocked of it wait, and fail with kErrRecordLocked
  // past the lock timeout. The lock is released by DBWrite of the record,
  // by Release, or when the session closes.
  [[nodiscard]] CItem ReadLocked(std::string_view key) const;
  void Release(std::string_view key) const;

  // Every record of the file in key order, read from one snapshot: what
  // other sessions commit meanwhile is not seen, and a record lock does not
  // hold it up (a lock keeps out other writers and lockers; the snapshot
  // only reads committed text). For exports and checks. `visit` must not use
  // this session. Throws kErrFileNotFound when the file is gone.
  void ForEachRecord(
      const std::function<void(std::string_view key, std::string_view text)>& visit) const;

  [[nodiscard]] const std::string& Name() const;
  [[nodiscard]] bool IsOpen() const { return static_cast<bool>(binding_); }

 private:
  friend class Database;
  explicit DBFile(std::shared_ptr<FileBinding> binding) : binding_(std::move(binding)) {}
  std::shared_ptr<FileBinding> binding_;
};

struct OpenOptions {
  bool create = false;       // create the database file when missing
  int busyTimeoutMs = 5000;  // wait for another process's write lock
  int lockTimeoutMs = 5000;  // wait for another session's record lock
};

class Database : public std::enable_shared_from_this<Database> {
 public:
  // Opens (or, with options.create, creates) a database file. Throws
  // kErrDatabaseNotFound, writing nothing, when the file is missing and
  // create is false, or is not one of our databases (empty, another
  // program's, of a newer layout); create makes a database of a missing or
  // zero-length file only. A PostgreSQL URI opens that existing database;
  // create makes our tables in it when it has none (kErrDatabaseNotFound
  // when it cannot be reached, or lacks our tables and create is false).
  [[nodiscard]] static std::shared_ptr<Database> Open(const std::string& path,
                                                      const OpenOptions& options = {});
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Opens a multivalue file. Throws kErrFileNotFound when it does not exist.
  [[nodiscard]] DBFile DBOpen(std::string_view fileName);

  // Runs the request record's whole text (attribute 1 sentence, 2 file name,
  // 3 columns separated by one blank; "0" is the key). `option` is accepted
  // and ignored; `count`, when given, receives the number of records found.
  [[nodiscard]] CItem DBSelect(std::string_view requestText, std::string_view option = "",
                               int* count = nullptr);

  // Runs each request as DBSelect does, their results in the same order;
  // on a server, all of them in one round trip. Throws as DBSelect does,
  // before any is run when a request is refused.
  [[nodiscard]] std::vector<CItem> DBSelectMany(const std::vector<std::string>& requestTexts);

  // Runs a registered routine. Throws kErrUnknownRoutine for an unknown name.
  CItem DBCall(std::string_view routineName, int& number, std::string_view parameter);
  void RegisterRoutine(std::string name, Routine routine);

  // Administration.
  void CreateFile(std::string_view fileName);  // kErrFileExists when present
  void DeleteFile(std::string_view fileName);
  [[nodiscard]] std::vector<std::string> Files() const;
  void CreateIndex(std::string_view fileName, int attribute);
  [[nodiscard]] bool HasIndex(std::string_view fileName, int attribute) const;
  // Removes the lock of a record whoever holds it, even a live session (an
  // administrator's last resort); returns whether there was one.
  bool ClearLock(std::string_view fileName, std::string_view key);
  // Checks the file: SQLite's integrity and foreign-key checks, then each
  // index against the records of its file. One line per finding; empty when
  // the database is sound. Throws kErrTransaction inside a Transaction.
  [[nodiscard]] std::vector<std::string> Check();

  // Records written or deleted through this object since it was opened
  // (a write later rolled back counts too): a cheap way to see that a step
  // wrote nothing.
  [[nodiscard]] std::uint64_t RecordWrites() const;
  // Statements sent to the storage since it was opened; on a server each is
  // a round trip, which is what an action costs from a distant office.
  [[nodiscard]] std::uint64_t Statements() const;

  [[nodiscard]] const std::string& Path() const;
  DatabaseImpl& impl() { return *impl_; }

 private:
  explicit Database(std::unique_ptr<DatabaseImpl> impl);
  std::unique_ptr<DatabaseImpl> impl_;
};

// Has the server end the session of `db` from a connection of its own, as a
// server restart or a network cut would: its next operation outside a
// Transaction opens a new session and goes on; inside one it fails and the
// transaction is rolled back. kErrBadArgument for a SQLite file, which has
// no session to end.
void DropServerSession(Database& db);

// A write transaction (BEGIN IMMEDIATE, or on PostgreSQL the database-wide
// advisory lock: the write lock is taken before the first read, so a
// read-increment-write cannot interleave with another process; on
// PostgreSQL it is taken by the transaction's first step, in the same round
// trip, and a transaction that does nothing sends nothing). Rolled back
// on destruction unless committed. Not nestable. On PostgreSQL a statement
// that fails inside it (not a refused argument) leaves it able only to roll
// back: Commit then throws kErrStorage.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();
  void Rollback();

 private:
  Database& db_;
  bool open_ = false;
};

}  // namespace dba
