// The consistency check: a sound database (indexes kept through writes,
// rewrites and deletes) has no finding; index rows planted or removed
// behind the component's back, and a damaged file, are each reported.
#include <gtest/gtest.h>
#include <algorithm>
#include <sqlite3.h>

#include "dba/database.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::Marks;
using testing::ScratchDatabase;

// Runs SQL on the database behind the component's back, as a damaged
// database would hold it: with SQLite itself, or with a libpq session.
void Planter(const std::string& path, const char* sql) {
  if (testing::OnPostgres()) {
    const std::string out = morvanel::testing::PgSql(path, sql);
    EXPECT_FALSE(out.starts_with("error: ")) << out;
    return;
  }
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  sqlite3_busy_timeout(raw, 5000);
  char* err = nullptr;
  EXPECT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
  sqlite3_free(err);
  sqlite3_close(raw);
}

class CheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = scratch_.Open();
    db_->CreateFile("VILLES");
    db_->CreateIndex("VILLES", 1);
    DBFile f = db_->DBOpen("VILLES");
    for (const auto& [key, text] :
         {std::pair{"1", "LYON^A]B"}, {"2", "PARIS]LYON\\X^A"}, {"3", "^s"}, {"4", "NANTES"}}) {
      CItem r = f.DBNew(key);
      r.setItem(Marks(text));
      r.DBWrite();
    }
    CItem r = f.DBRead("2");
    r.setItem(1, "LILLE");
    r.DBWrite();
    f.DBDelete("4");
  }

  ScratchDatabase scratch_;
  std::shared_ptr<Database> db_;
};

TEST_F(CheckTest, ASoundDatabaseHasNoFinding) {
  EXPECT_EQ(db_->Check(), std::vector<std::string>{});
}

TEST_F(CheckTest, IndexRowsOutOfStepWithTheRecordsAreEachReported) {
  struct Cas {
    const char* sqlite;
    const char* postgres;
    const char* finding;
  };
  const Cas cas[] = {
      {"DELETE FROM index_entries WHERE key='1'",
       "DELETE FROM mv_index_entries WHERE key='1'::bytea",
       "index VILLES 1: record 1 missing under \"LYON\""},
      {"INSERT INTO index_entries SELECT id, 1, CAST('NANTES' AS BLOB), '4' FROM files",
       "INSERT INTO mv_index_entries SELECT id, 1, 'NANTES'::bytea, '4'::bytea FROM mv_files",
       "index VILLES 1: stray entry \"NANTES\" for record 4"},
      {"UPDATE records SET body=CAST('ROUEN' AS BLOB) WHERE key='3'",
       "UPDATE mv_records SET body='ROUEN'::bytea WHERE key='3'::bytea",
       "index VILLES 1: record 3 missing under \"ROUEN\""},
      {"INSERT INTO index_entries SELECT id, 7, CAST('X' AS BLOB), '1' FROM files",
       "INSERT INTO mv_index_entries SELECT id, 7, 'X'::bytea, '1'::bytea FROM mv_files",
       "entry of no index: file * attribute 7 record 1"},
  };
  for (const Cas& c : cas) {
    const char* sql = testing::OnPostgres() ? c.postgres : c.sqlite;
    SCOPED_TRACE(sql);
    ScratchDatabase autre;
    {
      auto db = autre.Open();
      db->CreateFile("VILLES");
      db->CreateIndex("VILLES", 1);
      DBFile f = db->DBOpen("VILLES");
      for (const char* key : {"1", "3"}) {
        CItem r = f.DBNew(key);
        r.setItem(key[0] == '1' ? "LYON" : "");
        r.DBWrite();
      }
      ASSERT_EQ(db->Check(), std::vector<std::string>{});
    }
    Planter(autre.path(), sql);
    const std::vector<std::string> findings = autre.Open()->Check();
    // A file's id is the server's to choose: "*" stands for it.
    const std::string expected = c.finding;
    const auto star = expected.find('*');
    const bool found = std::any_of(findings.begin(), findings.end(), [&](const std::string& f) {
      if (star == std::string::npos) return f == expected;
      const std::string tail = expected.substr(star + 1);
      return f.rfind(expected.substr(0, star), 0) == 0 && f.size() >= tail.size() &&
             f.compare(f.size() - tail.size(), tail.size(), tail) == 0;
    });
    EXPECT_TRUE(found) << ::testing::PrintToString(findings);
  }
}

TEST_F(CheckTest, ARewriteInATransactionPutsRightTheEntriesOfItsRecord) {
  // GIVEN record 1 under LYON, its entry removed or the one it will need
  // planted behind the component's back
  const std::pair<const char*, const char*> plants[] = {
      {"DELETE FROM index_entries WHERE key='1'",
       "DELETE FROM mv_index_entries WHERE key='1'::bytea"},
      {"INSERT INTO index_entries SELECT id, 1, CAST('PARIS' AS BLOB), '1' FROM files",
       "INSERT INTO mv_index_entries SELECT id, 1, 'PARIS'::bytea, '1'::bytea FROM mv_files"},
  };
  for (const auto& [sqlite, postgres] : plants) {
    const char* sql = testing::OnPostgres() ? postgres : sqlite;
    SCOPED_TRACE(sql);
    ScratchDatabase autre;
    {
      auto db = autre.Open();
      db->CreateFile("VILLES");
      db->CreateIndex("VILLES", 1);
      CItem r = db->DBOpen("VILLES").DBNew("1");
      r.setItem("LYON");
      r.DBWrite();
    }
    Planter(autre.path(), sql);
    // WHEN a transaction moves it to PARIS THEN nothing fails and the
    // index holds it under PARIS alone
    auto db = autre.Open();
    Transaction t(*db);
    CItem r = db->DBOpen("VILLES").DBRead("1");
    r.setItem(1, "PARIS");
    r.DBWrite();
    t.Commit();
    EXPECT_EQ(db->Check(), std::vector<std::string>{});
  }
}

TEST_F(CheckTest, ADamagedTableIsReportedBeforeAnyIndexIsTrusted) {
  if (testing::OnPostgres()) GTEST_SKIP() << "the pages of a SQLite file";
  db_.reset();
  // An index of SQLite's own that no longer matches its table.
  Planter(scratch_.path(),
          "PRAGMA writable_schema=ON;"
          "CREATE INDEX villes_body ON records(body);"
          "UPDATE sqlite_master SET sql='CREATE INDEX villes_body ON records(key)'"
          " WHERE name='villes_body';");
  const std::vector<std::string> findings = scratch_.Open()->Check();
  ASSERT_FALSE(findings.empty());
  EXPECT_EQ(findings[0].rfind("PRAGMA integrity_check", 0), 0u) << findings[0];
}

TEST_F(CheckTest, RefusedInsideATransaction) {
  Transaction t(*db_);
  try {
    (void)db_->Check();
    FAIL() << "no error";
  } catch (const DbaError& e) {
    EXPECT_EQ(e.number(), kErrTransaction);
  }
}

}  // namespace
}  // namespace dba
