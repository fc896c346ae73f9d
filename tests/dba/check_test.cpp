// The consistency check: a sound database (indexes kept through writes,
// rewrites and deletes) has no finding; index rows planted or removed
// behind the component's back, and a damaged file, are each reported.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "dba/database.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::Marks;
using testing::ScratchDatabase;

// Runs SQL on the file with SQLite itself, as a damaged file would hold it.
void Planter(const std::string& path, const char* sql) {
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
    for (const auto& [key, text] : {std::pair{"1", "LYON^A]B"}, {"2", "PARIS]LYON\\X^A"},
                                    {"3", "^s"}, {"4", "NANTES"}}) {
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
    const char* sql;
    const char* finding;
  };
  const Cas cas[] = {
      {"DELETE FROM index_entries WHERE key='1'", "index VILLES 1: record 1 missing under \"LYON\""},
      {"INSERT INTO index_entries SELECT id, 1, CAST('NANTES' AS BLOB), '4' FROM files",
       "index VILLES 1: stray entry \"NANTES\" for record 4"},
      {"UPDATE records SET body=CAST('ROUEN' AS BLOB) WHERE key='3'",
       "index VILLES 1: record 3 missing under \"ROUEN\""},
      {"INSERT INTO index_entries SELECT id, 7, CAST('X' AS BLOB), '1' FROM files",
       "entry of no index: file 1 attribute 7 record 1"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.sql);
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
    Planter(autre.path(), c.sql);
    const std::vector<std::string> findings = autre.Open()->Check();
    EXPECT_NE(std::find(findings.begin(), findings.end(), c.finding), findings.end())
        << ::testing::PrintToString(findings);
  }
}

TEST_F(CheckTest, ADamagedTableIsReportedBeforeAnyIndexIsTrusted) {
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
