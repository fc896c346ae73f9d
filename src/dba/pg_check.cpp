// The consistency check of a PostgreSQL database: the server keeps its own
// pages and references sound, so what is left to check is ours, every index
// against the records it stands for, read from one snapshot.
#include <libpq-fe.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dba/index_check.h"
#include "dba/pg_database.h"

namespace dba {
namespace {

// Runs a statement, rows in binary. The parameters are numbers of ours,
// sent as text.
pg::Result Binary(pg::Connection& c, const char* sql, const std::vector<std::string>& params = {}) {
  std::vector<const char*> values;
  for (const std::string& v : params) values.push_back(v.c_str());
  return c.Checked(PQexecParams(c.handle(), sql, static_cast<int>(values.size()), nullptr,
                                values.data(), nullptr, nullptr, 1));
}

constexpr const char* kStoredForms =
    "SELECT " MV_STORED("u.v") ", " MV_STORED("u.k") " FROM unnest($1::bytea[],"
    " $2::bytea[]) AS u(v, k)";

// `entries` as the index holds them: long values and keys by their stored
// form, which the server computes as it does when it writes them.
IndexEntries InStoredForm(pg::Connection& c, IndexEntries entries) {
  std::vector<std::string_view> values, keys;
  for (const auto& [value, key] : entries) {
    if (value.size() > pg::kHead || key.size() > pg::kHead) {
      values.push_back(value);
      keys.push_back(key);
    }
  }
  if (values.empty()) return entries;
  pg::Params p;
  p.BytesArray(values).BytesArray(keys);
  pg::Result r = c.Checked(PQexecParams(c.handle(), kStoredForms, p.size(), nullptr, p.values(),
                                        p.lengths(), p.formats(), 1));
  std::erase_if(entries, [](const auto& e) {
    return e.first.size() > pg::kHead || e.second.size() > pg::kHead;
  });
  for (int i = 0; i < r.Rows(); ++i) {
    entries.emplace(std::string(r.Bytes(i, 0)), std::string(r.Bytes(i, 1)));
  }
  return entries;
}

}  // namespace

std::vector<std::string> PgDatabase::Check() {
  pg::Connection& c = conn();
  std::vector<std::string> findings;
  c.Exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
  try {
    std::map<std::int64_t, std::string> names;
    {
      pg::Result r = Binary(c, "SELECT id, name FROM mv_files");
      for (int i = 0; i < r.Rows(); ++i) names.emplace(r.Int(i, 0), std::string(r.Bytes(i, 1)));
    }
    std::vector<std::pair<std::int64_t, int>> indexes;
    {
      pg::Result r = Binary(c, "SELECT file_id, attr FROM mv_indexes ORDER BY file_id, attr");
      for (int i = 0; i < r.Rows(); ++i) {
        indexes.emplace_back(r.Int(i, 0), static_cast<int>(r.Int(i, 1)));
      }
    }
    for (const auto& [id, attribute] : indexes) {
      IndexEntries expected;
      IndexEntries stored;
      {
        pg::Result r = Binary(c, "SELECT key, body FROM mv_records WHERE file_id = $1::int8",
                              {std::to_string(id)});
        for (int i = 0; i < r.Rows(); ++i) {
          AddExpectedEntries(expected, r.Bytes(i, 0), r.Bytes(i, 1), attribute);
        }
      }
      {
        pg::Result r = Binary(c,
                              "SELECT value, key FROM mv_index_entries WHERE file_id = $1::int8"
                              " AND attr = $2::int4",
                              {std::to_string(id), std::to_string(attribute)});
        for (int i = 0; i < r.Rows(); ++i) {
          stored.emplace(std::string(r.Bytes(i, 0)), std::string(r.Bytes(i, 1)));
        }
      }
      CompareIndex(names[id], attribute, InStoredForm(c, std::move(expected)), stored, findings);
    }
    pg::Result r = Binary(c,
                          "SELECT e.file_id, e.attr, e.key FROM mv_index_entries e"
                          " LEFT JOIN mv_indexes i ON i.file_id = e.file_id AND i.attr = e.attr"
                          " WHERE i.attr IS NULL");
    for (int i = 0; i < r.Rows(); ++i) {
      findings.push_back("entry of no index: file " + std::to_string(r.Int(i, 0)) + " attribute " +
                         std::to_string(r.Int(i, 1)) + " record " + ShownForCheck(r.Bytes(i, 2)));
    }
    c.Exec("COMMIT");
  } catch (...) {
    c.RollbackBlock();
    throw;
  }
  return findings;
}

}  // namespace dba
