// Transactions: the explicit Transaction of callers and the WriteScope that
// wraps each single write. Database layer.
//
// States of a connection: idle; in a Transaction (inTransaction_); in a
// WriteScope of one write (scopeOpen_). Both hold SQLite's write lock from
// BEGIN IMMEDIATE, so a read-modify-write cannot interleave with another
// process. A WriteScope opened inside a Transaction joins it and neither
// begins nor commits.
#include "dba/database.h"
#include "dba/sqlite_database.h"

namespace dba {

namespace {
void Run(store::Connection& c, store::Sql id) { store::Step(c, id).Run(); }
}  // namespace

void SqliteDatabase::Begin() {
  if (inTransaction_ || scopeOpen_) {
    throw DbaError(kErrTransaction, "Une transaction est déjà ouverte sur cette base de données.");
  }
  Run(*conn_, store::Sql::kBeginImmediate);
  inTransaction_ = true;
  ++writeSerial_;
}

void SqliteDatabase::Commit() {
  if (!inTransaction_) throw DbaError(kErrTransaction, "Aucune transaction n'est ouverte.");
  Run(*conn_, store::Sql::kCommit);
  inTransaction_ = false;
}

void SqliteDatabase::Rollback() {
  if (!inTransaction_) throw DbaError(kErrTransaction, "Aucune transaction n'est ouverte.");
  inTransaction_ = false;
  // SQLite may already have rolled back after a failed statement (full disk).
  if (!sqlite3_get_autocommit(conn_->handle())) {
    Run(*conn_, store::Sql::kRollback);
  }
}

void SqliteDatabase::BeginScope() {
  Run(*conn_, store::Sql::kBeginImmediate);
  scopeOpen_ = true;
  ++writeSerial_;
}

void SqliteDatabase::EndScope(bool commit) {
  scopeOpen_ = false;
  sqlite3* db = conn_->handle();
  if (commit) {
    try {
      Run(*conn_, store::Sql::kCommit);
      return;
    } catch (...) {
      if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }
  if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
}

WriteScope::WriteScope(SqliteDatabase& db) : db_(db) {
  if (db_.InTransaction()) return;
  db_.BeginScope();
  own_ = true;
}

WriteScope::~WriteScope() {
  if (own_) db_.EndScope(false);
}

void WriteScope::Commit() {
  if (!own_) return;
  own_ = false;
  db_.EndScope(true);
}

Transaction::Transaction(Database& db) : db_(db) {
  db_.impl().Begin();
  open_ = true;
}

Transaction::~Transaction() {
  if (!open_) return;
  try {
    db_.impl().Rollback();
  } catch (...) {  // a destructor must not throw; the connection rolls back on close
  }
}

void Transaction::Commit() {
  if (!open_) throw DbaError(kErrTransaction, "La transaction est déjà terminée.");
  db_.impl().Commit();  // on failure the destructor still rolls back
  open_ = false;
}

void Transaction::Rollback() {
  if (!open_) throw DbaError(kErrTransaction, "La transaction est déjà terminée.");
  open_ = false;
  db_.impl().Rollback();
}

}  // namespace dba
