// Scratch PostgreSQL databases for the tests (see pg_scratch.h).
#include "pg_scratch.h"

#if MORVANEL_POSTGRESQL
#include <libpq-fe.h>
#endif
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>

namespace morvanel::testing {

namespace {

constexpr const char* kNoPostgres = "this build has no PostgreSQL (MORVANEL_POSTGRESQL=OFF)";

// Runs one administrative statement on the cluster's maintenance database.
void Admin(const std::string& uri, const std::string& sql) {
  const std::string out = PgSql(uri, sql);
  if (out.starts_with("error: ")) throw std::runtime_error(sql + ": " + out.substr(7));
}

}  // namespace

std::string PgSql(const std::string& uri, const std::string& sql) {
#if MORVANEL_POSTGRESQL
  PGconn* c = PQconnectdb(uri.c_str());
  std::string out;
  if (PQstatus(c) != CONNECTION_OK) {
    out = std::string("error: ") + PQerrorMessage(c);
  } else {
    PGresult* r = PQexec(c, sql.c_str());
    if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0) {
      out = PQgetvalue(r, 0, 0);
    } else if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK) {
      out = std::string("error: ") + PQresultErrorMessage(r);
    }
    PQclear(r);
  }
  PQfinish(c);
  return out;
#else
  (void)uri;
  (void)sql;
  return std::string("error: ") + kNoPostgres;
#endif
}

bool OnPostgres() {
  const char* backend = std::getenv("MORVANEL_TEST_BACKEND");
  return backend != nullptr && std::string(backend) == "postgresql";
}

std::string WithDatabase(const std::string& uri, const std::string& name) {
  const std::size_t scheme = uri.find("://");
  const std::size_t authority = scheme == std::string::npos ? 0 : scheme + 3;
  const std::size_t query = std::min(uri.find('?', authority), uri.size());
  const std::size_t slash = uri.find('/', authority);
  if (slash == std::string::npos || slash > query) {
    return uri.substr(0, query) + "/" + name + uri.substr(query);
  }
  return uri.substr(0, slash + 1) + name + uri.substr(query);
}

ScratchPg::ScratchPg() {
  const char* cluster = std::getenv("MORVANEL_TEST_PG");
#if !MORVANEL_POSTGRESQL
  std::fprintf(stderr, "%s.\n", kNoPostgres);
  std::exit(kSkipped);
#endif
  if (cluster == nullptr || *cluster == '\0') {
    std::fprintf(stderr, "MORVANEL_TEST_PG is not set: no PostgreSQL cluster to test on.\n");
    std::exit(kSkipped);
  }
  admin_ = cluster;
  static std::atomic<int> made{0};
  std::random_device rd;
  name_ = "mvtest_" + std::to_string(getpid()) + "_" + std::to_string(made++) + "_" +
          std::to_string(rd() % 1000000);
  Admin(admin_, "CREATE DATABASE " + name_);
  uri_ = WithDatabase(admin_, name_);
}

ScratchPg::~ScratchPg() {
  try {
    Admin(admin_, "DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
}

}  // namespace morvanel::testing
