// Runs a selection request: parses it, finds the candidate records (a scan
// in key order, a key lookup or range, or a secondary index), keeps those
// that satisfy the conditions, sorts them and lays out the result record.
// Database layer.
//
// Every candidate, whatever found it, is checked against the whole
// condition, so an index only narrows the search and never changes a result;
// the one shortcut is a selection its index answers alone (AnsweredByKeys).
#include "dba/query_engine.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dba/sqlite_database.h"
#include "dba/query_parser.h"
#include "dba/query_rows.h"
#include "dba/record_text.h"

namespace dba {

namespace {

using namespace select;  // NOLINT: the shared pieces of every selection
using query::Query;

// Fills `rows` in key order.
void Collect(SqliteDatabase& db, std::int64_t fileId, const Plan& plan, Rows& rows) {
  using store::Sql;
  store::Connection& c = db.conn();
  switch (plan.kind) {
    case Plan::kScan: {
      store::Step s(c, Sql::kScanAll);
      s.Int(1, fileId);
      while (s.Next()) rows.AddIfMatchesLazy([&s] { return s.ColText(0); }, s.ColBlob(1));
      return;
    }
    case Plan::kKeyEqual: {
      store::Step s(c, Sql::kReadBody);
      s.Int(1, fileId).Text(2, plan.condition->value);
      if (s.Next()) rows.AddIfMatches(plan.condition->value, s.ColBlob(0));
      return;
    }
    case Plan::kKeyPrefix: {
      // From the prefix on in key order, until a key no longer begins with
      // it: no upper bound to compute, whatever bytes the prefix ends with.
      store::Step s(c, Sql::kScanFromKey);
      s.Int(1, fileId).Text(2, plan.condition->value);
      while (s.Next() && s.ColText(0).starts_with(plan.condition->value)) {
        rows.AddIfMatches(s.ColText(0), s.ColBlob(1));
      }
      return;
    }
    case Plan::kIndexEqual: {
      // One entry per (value, key): each record comes once, in key order.
      store::Step s(c, plan.keysOnly ? Sql::kIndexKeysEqual : Sql::kIndexEqual);
      s.Int(1, fileId).Int(2, plan.condition->attribute).Blob(3, plan.condition->value);
      if (plan.keysOnly) {
        while (s.Next()) rows.Add(s.ColText(0), {});
      } else {
        while (s.Next()) rows.AddIfMatches(s.ColText(0), s.ColBlob(1));
      }
      return;
    }
    case Plan::kIndexPrefix: break;
  }
  // Several values of a record may share the prefix: gather the keys, then
  // read each record once, in key order.
  std::vector<std::string> keys;
  {
    store::Step s(c, Sql::kIndexFrom);
    s.Int(1, fileId).Int(2, plan.condition->attribute).Blob(3, plan.condition->value);
    while (s.Next() && s.ColBlob(0).starts_with(plan.condition->value))
      keys.emplace_back(s.ColText(1));
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  if (plan.keysOnly) {
    for (const std::string& key : keys) rows.Add(key, {});
    return;
  }
  store::Step s(c, Sql::kReadBody);
  for (const std::string& key : keys) {
    s.Int(1, fileId).Text(2, key);
    if (s.Next()) rows.AddIfMatches(key, s.ColBlob(0));
    s.Reset();
  }
}

// Index entries and records are read as one snapshot, even when another
// process writes between the statements.
class ReadSnapshot {
 public:
  explicit ReadSnapshot(SqliteDatabase& db) : own_(!db.Writing()) {
    if (!own_) return;
    end_ = db.conn().Get(store::Sql::kCommit);
    store::Step(db.conn(), store::Sql::kBegin).Run();
  }
  ~ReadSnapshot() {
    if (!own_) return;
    sqlite3_step(end_);  // ends a read: nothing to commit, nothing can fail to
    sqlite3_reset(end_);
  }
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;

 private:
  bool own_;
  sqlite3_stmt* end_ = nullptr;
};

// An index that answers an equality alone, with no sort clause, lists the
// result in its final order: each key goes straight to the result, once per
// column (all of them the key), without the rows' copies.
std::string IndexKeysLayout(SqliteDatabase& db, std::int64_t fileId, const Plan& plan,
                            std::size_t columnCount, int& found) {
  store::Step s(db.conn(), store::Sql::kIndexKeysEqual);
  s.Int(1, fileId).Int(2, plan.condition->attribute).Blob(3, plan.condition->value);
  std::string out;
  found = 0;
  while (s.Next()) {
    if (found++ > 0) out.push_back(kAttributeMark);
    const std::string_view key = s.ColText(0);
    for (std::size_t k = 0; k < columnCount; ++k) {
      if (k > 0) out.push_back(kValueMark);
      AppendColumn(out, key);
    }
  }
  return out;
}

}  // namespace

CItem RunSelect(SqliteDatabase& db, std::string_view requestText, int* count) {
  const CItem request{std::string(requestText)};
  const Query q = query::Parse(request.Item(1));
  const std::string file = request.Item(2);
  if (!file.empty() && file != q.file) {
    throw DbaError(kErrQuerySyntax, "Phrase de requête invalide : elle porte sur le fichier « " +
                                        q.file + " » et la requête sur « " + file + " ».");
  }
  const std::vector<int> columns = query::ParseColumns(request.Item(3));
  ReadSnapshot snapshot(db);
  const std::int64_t fileId = db.FileId(q.file);
  Plan plan = Choose(q, q.anyOf.size() == 1 ? db.IndexedAttributes(fileId) : std::vector<int>{});
  plan.keysOnly = AnsweredByKeys(q, plan, columns);
  if (plan.keysOnly && plan.kind == Plan::kIndexEqual && q.sortKeys.empty()) {
    int found = 0;
    std::string result = IndexKeysLayout(db, fileId, plan, columns.size(), found);
    if (count) *count = found;
    return CItem(std::move(result));
  }
  Rows rows(q, columns);
  Collect(db, fileId, plan, rows);
  if (count) *count = static_cast<int>(rows.size());
  return CItem(rows.Layout(rows.Order()));
}

}  // namespace dba
