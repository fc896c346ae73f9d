// No tool shows a password written in a connection string: neither in the
// message of an open that fails, nor in the lines that name the database
// on success or on refusal.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "pg_scratch.h"
#include "run_process.h"

namespace {

using tools_test::ProcessResult;
using tools_test::RunProgram;

const std::string kSecret = "s3cretXY";

// The password in both URI forms: user information and query parameter.
std::string WithPassword(const std::string& uri) {
  const std::string scheme = "postgresql://";
  std::string out = uri;
  out.insert(scheme.size(), "postgres:" + kSecret + "@");
  return out + (out.find('?') == std::string::npos ? "?" : "&") + "password=" + kSecret;
}

void ExpectHidden(const ProcessResult& r, const std::string& what) {
  EXPECT_EQ((r.out + r.err).find(kSecret), std::string::npos) << what << ":\n" << r.out << r.err;
}

TEST(Secrets, NoToolShowsThePasswordOfADatabaseItCannotOpen) {
  tools_test::TempDir dir;
  const std::string script = dir.File("s.scn");
  std::ofstream(script) << "init\n";
  const std::string unreachable = WithPassword("postgresql:///paie?host=/nonexistent-mv");
  struct Tool {
    const char* name;
    std::string exe;
    std::vector<std::string> args;
  };
  const std::vector<Tool> tools = {
      {"mvdb", MVDB_EXE, {"files", unreachable}},
      {"urssaf-scenario", SCENARIO_EXE, {"--db", unreachable, script}},
#ifdef MORVANEL_HOST_EXE
      {"morvanel-host", MORVANEL_HOST_EXE, {"--db", unreachable, "--user", "dupont"}},
#endif
#ifdef BENCH_EXE
      {"morvanel_bench", BENCH_EXE, {"--quick", "--pg", unreachable}},
#endif
  };
  for (const Tool& t : tools) {
    const ProcessResult r = RunProgram(t.exe, t.args);
    EXPECT_NE(r.status, 0) << t.name;
    ExpectHidden(r, t.name);
#ifndef MORVANEL_NO_POSTGRESQL
    EXPECT_NE(r.err.find("postgres:***@"), std::string::npos) << t.name << ": " << r.err;
#endif
  }
}

TEST(Secrets, MvdbNamesAServerDatabaseWithoutItsPassword) {
  if (std::getenv("MORVANEL_TEST_PG") == nullptr) GTEST_SKIP() << "no PostgreSQL cluster";
  morvanel::testing::ScratchPg source, target;
  const std::string from = WithPassword(source.uri()), to = WithPassword(target.uri());
  const ProcessResult seeded = tools_test::RunProgram(MVDB_EXE, {"seed-demo", from});
  EXPECT_EQ(seeded.status, 0) << seeded.err;
  EXPECT_EQ(seeded.out.find("seeded postgresql://postgres:***@/"), 0u) << seeded.out;
  ExpectHidden(seeded, "seed-demo");

  const ProcessResult copied = tools_test::RunProgram(MVDB_EXE, {"copy", from, to});
  EXPECT_EQ(copied.status, 0) << copied.err;
  EXPECT_NE(copied.out.find("into postgresql://postgres:***@/"), std::string::npos) << copied.out;
  ExpectHidden(copied, "copy");

  const ProcessResult refused = tools_test::RunProgram(MVDB_EXE, {"copy", from, to});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("0x80040004"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("postgres:***@/"), std::string::npos) << refused.err;
  ExpectHidden(refused, "copy refused");
}

}  // namespace
