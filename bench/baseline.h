// The benchmark's baseline: raw SQLite doing the same logical work as the
// multivalue database, one plain table per file (key TEXT PRIMARY KEY,
// body BLOB) WITHOUT ROWID and one WITHOUT ROWID table (value, key) per
// index. Benchmark program (bench/).
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>
#include <vector>

#include "demo/demo_data.h"

namespace bench {

// A prepared statement, finalized on destruction.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // The bytes are not copied: they must stay in place until Reset.
  void Bind(int index, std::string_view text);
  void BindBlob(int index, std::string_view bytes);
  bool Step();  // true while a row is there; throws on an error
  [[nodiscard]] std::string_view Column(int index) const;
  void Reset();

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class Baseline {
 public:
  // Creates a fresh SQLite file at `path` (an existing one is replaced),
  // WAL and synchronous=FULL like the multivalue database.
  explicit Baseline(const std::string& path);
  ~Baseline();
  Baseline(const Baseline&) = delete;
  Baseline& operator=(const Baseline&) = delete;

  void Load(const std::string& file, const std::vector<demo::DemoRecord>& records);
  // Index table "<table>_a<attribute>"(value, key), filled from the bodies;
  // its keys of one value come out in key order.
  void BuildIndex(const std::string& file, int attribute);

  void Exec(const std::string& sql);
  [[nodiscard]] sqlite3* Handle() { return db_; }
  [[nodiscard]] static std::string Table(const std::string& file) { return "f_" + file; }
  [[nodiscard]] static std::string IndexTable(const std::string& file, int attribute) {
    return Table(file) + "_a" + std::to_string(attribute);
  }

 private:
  sqlite3* db_ = nullptr;
};

// Attribute `n` (from 1) of a record text, found by scanning for the marks.
[[nodiscard]] std::string_view AttributeOf(std::string_view body, int n);
// The record text with attribute `n` replaced (padded with marks if short).
[[nodiscard]] std::string ReplaceAttribute(std::string_view body, int n, std::string_view text);

}  // namespace bench
