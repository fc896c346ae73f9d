// Selections on the PostgreSQL backend: the same matching, order and layout
// as on SQLite (query_rows.h), with candidates found by the server: a key,
// a key range, or the index entries of an equality or a prefix, each in one
// statement (one snapshot). Database layer.
#include <optional>
#include <string>

#include "dba/pg_database.h"
#include "dba/query_rows.h"

namespace dba {

namespace {

using namespace select;  // NOLINT: the shared pieces of every selection

// The least byte string above every string that begins with `prefix`; none
// when the prefix is all 0xFF bytes.
std::optional<std::string> PrefixEnd(std::string prefix) {
  while (!prefix.empty() && static_cast<unsigned char>(prefix.back()) == 0xFF) prefix.pop_back();
  if (prefix.empty()) return std::nullopt;
  prefix.back() = static_cast<char>(static_cast<unsigned char>(prefix.back()) + 1);
  return prefix;
}

}  // namespace

CItem PgDatabase::Select(std::string_view requestText, int* count) {
  const CItem request{std::string(requestText)};
  const query::Query q = query::Parse(request.Item(1));
  const std::string file = request.Item(2);
  if (!file.empty() && file != q.file) {
    throw DbaError(kErrQuerySyntax, "Phrase de requête invalide : elle porte sur le fichier « " +
                                        q.file + " » et la requête sur « " + file + " ».");
  }
  const std::vector<int> columns = query::ParseColumns(request.Item(3));

  // The file's id and indexes as this session knows them: an index another
  // session added since only goes unused until our next write.
  const std::int64_t fileId = FileId(q.file);
  Plan plan = Choose(q, q.anyOf.size() == 1 ? KnownIndexes(fileId) : std::vector<int>{});
  std::optional<std::string> end;
  if (plan.kind == Plan::kKeyPrefix || plan.kind == Plan::kIndexPrefix) {
    end = PrefixEnd(plan.condition->value);
    if (!end) plan = Plan{};  // all 0xFF: a scan, which checks every record anyway
  }
  plan.keysOnly = AnsweredByKeys(q, plan, columns);

  pg::Params p;
  p.Int(fileId);
  pg::Sql sql = pg::Sql::kScanAll;
  switch (plan.kind) {
    case Plan::kScan: break;
    case Plan::kKeyEqual:
      sql = pg::Sql::kReadBody;
      p.Bytes(plan.condition->value);
      break;
    case Plan::kKeyPrefix:
      sql = pg::Sql::kKeyRange;
      p.Bytes(plan.condition->value).Bytes(*end);
      break;
    case Plan::kIndexEqual:
      sql = plan.keysOnly ? pg::Sql::kIndexKeysEqual : pg::Sql::kIndexEqual;
      p.Int4(plan.condition->attribute).Bytes(plan.condition->value);
      break;
    case Plan::kIndexPrefix:
      sql = plan.keysOnly ? pg::Sql::kIndexKeysRange : pg::Sql::kIndexRange;
      p.Int4(plan.condition->attribute).Bytes(plan.condition->value).Bytes(*end);
      break;
  }
  // The transaction's first step takes its write lock in the same round trip.
  pg::Result r = RunFirst(sql, p);
  Rows rows(q, columns);
  // Every statement gives its rows in key order, each record once.
  if (plan.kind == Plan::kKeyEqual) {
    if (r.Rows() > 0) rows.AddIfMatches(plan.condition->value, r.Bytes(0, 0));
  } else if (plan.keysOnly) {
    for (int i = 0; i < r.Rows(); ++i) rows.Add(r.Bytes(i, 0), {});
  } else {
    for (int i = 0; i < r.Rows(); ++i) {
      if (!r.IsNull(i, 1)) rows.AddIfMatches(r.Bytes(i, 0), r.Bytes(i, 1));
    }
  }
  if (count) *count = static_cast<int>(rows.size());
  return CItem(rows.Layout(rows.Order()));
}

}  // namespace dba
