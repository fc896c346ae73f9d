// Scratch PostgreSQL databases for the tests: each one made with CREATE
// DATABASE on the cluster named by MORVANEL_TEST_PG (a libpq URI of a
// database the tests may connect to, such as postgres), dropped at the end.
// A test binary runs on PostgreSQL when MORVANEL_TEST_BACKEND=postgresql
// (CTest's "_pg" variants); without MORVANEL_TEST_PG, or in a build without
// PostgreSQL, such a test exits with code 77, which CTest reports as
// skipped, never as passed.
#pragma once

#include <string>

namespace morvanel::testing {

inline constexpr int kSkipped = 77;

// Whether this run is a PostgreSQL variant.
[[nodiscard]] bool OnPostgres();

// Runs `sql` on `uri` through a session of its own, as another program or a
// damaged database would: the first value it gives ("" when none), or
// "error: " and the server's message. Fails so in a build without PostgreSQL.
[[nodiscard]] std::string PgSql(const std::string& uri, const std::string& sql);

// `uri` with its database name replaced by `name`.
[[nodiscard]] std::string WithDatabase(const std::string& uri, const std::string& name);

class ScratchPg {
 public:
  ScratchPg();   // exits with kSkipped when MORVANEL_TEST_PG is not set
  ~ScratchPg();  // drops the database, whoever is still connected
  ScratchPg(const ScratchPg&) = delete;
  ScratchPg& operator=(const ScratchPg&) = delete;
  [[nodiscard]] const std::string& uri() const { return uri_; }

 private:
  std::string admin_;
  std::string name_;
  std::string uri_;
};

}  // namespace morvanel::testing
