// Selections on the PostgreSQL backend: the same matching, order and layout
// as on SQLite (query_rows.h), with candidates found by the server: a key,
// a key range, or the index entries of an equality or a prefix, each in one
// statement (one snapshot). Database layer.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// A selection made ready to send: its statement with its parameters, and
// what reading its rows needs.
struct PgDatabase::PendingSelect {
  query::Query q;
  std::vector<int> columns;
  Plan plan;
  std::optional<std::string> end;  // of a prefix's range
  pg::Sql sql = pg::Sql::kScanAll;
  pg::Params params;  // points into q and end
};

std::unique_ptr<PgDatabase::PendingSelect> PgDatabase::PrepareSelect(std::string_view requestText) {
  auto s = std::make_unique<PendingSelect>();
  const CItem request{std::string(requestText)};
  s->q = query::Parse(request.Item(1));
  const query::Query& q = s->q;
  const std::string file = request.Item(2);
  if (!file.empty() && file != q.file) {
    throw DbaError(kErrQuerySyntax, "Phrase de requête invalide : elle porte sur le fichier « " +
                                        q.file + " » et la requête sur « " + file + " ».");
  }
  s->columns = query::ParseColumns(request.Item(3));

  // The file's id and indexes as this session knows them: an index another
  // session added since only goes unused until our next write.
  const std::int64_t fileId = FileId(q.file);
  Plan& plan = s->plan;
  plan = Choose(q, q.anyOf.size() == 1 ? KnownIndexes(fileId) : std::vector<int>{});
  std::optional<std::string>& end = s->end;
  if (plan.kind == Plan::kKeyPrefix || plan.kind == Plan::kIndexPrefix) {
    end = PrefixEnd(plan.condition->value);
    if (!end) plan = Plan{};  // all 0xFF: a scan, which checks every record anyway
  }
  // A prefix longer than the stored head narrows the entries without
  // deciding: the records themselves are checked.
  plan.keysOnly = AnsweredByKeys(q, plan, s->columns) &&
                  !(plan.kind == Plan::kIndexPrefix && plan.condition->value.size() > pg::kHead);

  pg::Params& p = s->params;
  p.Int(fileId);
  switch (plan.kind) {
    case Plan::kScan: break;
    case Plan::kKeyEqual:
      s->sql = pg::Sql::kReadBody;
      p.Bytes(plan.condition->value);
      break;
    case Plan::kKeyPrefix:
      s->sql = pg::Sql::kKeyRange;
      p.Bytes(plan.condition->value).Bytes(*end);
      break;
    case Plan::kIndexEqual:
      s->sql = plan.keysOnly ? pg::Sql::kIndexKeysEqual : pg::Sql::kIndexEqual;
      p.Int4(plan.condition->attribute).Bytes(plan.condition->value);
      break;
    case Plan::kIndexPrefix:
      s->sql = plan.keysOnly ? pg::Sql::kIndexKeysRange : pg::Sql::kIndexRange;
      p.Int4(plan.condition->attribute).Bytes(plan.condition->value).Bytes(*end);
      break;
  }
  return s;  // its plan points into its query: both stay where they are
}

CItem PgDatabase::FinishSelect(const PendingSelect& s, const pg::Result& r, int* count) {
  const Plan& plan = s.plan;
  Rows rows(s.q, s.columns);
  if (plan.kind == Plan::kKeyEqual) {
    if (r.Rows() > 0) rows.AddIfMatches(plan.condition->value, r.Bytes(0, 0));
  } else {
    // Every statement gives its rows in the order of the keys' stored forms,
    // each record once.
    std::vector<std::pair<std::string_view, std::string_view>> found;
    found.reserve(static_cast<std::size_t>(r.Rows()));
    bool reorder = false;
    for (int i = 0; i < r.Rows(); ++i) {
      if (plan.keysOnly) {
        found.emplace_back(r.Bytes(i, 0), std::string_view());
      } else {
        found.emplace_back(r.Bytes(i, 0), r.Bytes(i, 1));
      }
      reorder = reorder || (found.size() > 1 &&
                            pg::SameStoredHead(found[found.size() - 2].first, found.back().first));
    }
    if (reorder) {
      std::stable_sort(found.begin(), found.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    for (const auto& [key, body] : found) {
      if (plan.keysOnly) {
        rows.Add(key, {});
      } else {
        rows.AddIfMatches(key, body);
      }
    }
  }
  if (count) *count = static_cast<int>(rows.size());
  return CItem(rows.Layout(rows.Order()));
}

CItem PgDatabase::Select(std::string_view requestText, int* count) {
  const std::unique_ptr<PendingSelect> s = PrepareSelect(requestText);
  // The transaction's first step takes its write lock in the same round trip.
  return FinishSelect(*s, RunFirst(s->sql, s->params), count);
}

std::vector<CItem> PgDatabase::SelectMany(const std::vector<std::string>& requestTexts) {
  std::vector<std::unique_ptr<PendingSelect>> pending;
  std::vector<std::pair<pg::Sql, pg::Params*>> statements;
  for (const std::string& text : requestTexts) {
    pending.push_back(PrepareSelect(text));
    statements.emplace_back(pending.back()->sql, &pending.back()->params);
  }
  std::vector<CItem> results;
  if (pending.empty()) return results;
  const bool begin = pendingBegin_;
  pendingBegin_ = false;
  std::vector<pg::Result> rows;
  try {
    rows = conn_->RunMany(begin ? pg::BeginWriteAndLook(owner_) : std::string(), statements);
    if (begin) Began(rows[rows.size() - pending.size() - 1]);
  } catch (...) {
    if (begin) {
      conn_->RollbackBlock();
      pendingBegin_ = true;
    }
    throw;
  }
  const std::size_t first = rows.size() - pending.size();
  for (std::size_t i = 0; i < pending.size(); ++i) {
    results.push_back(FinishSelect(*pending[i], rows[first + i], nullptr));
  }
  return results;
}

}  // namespace dba
