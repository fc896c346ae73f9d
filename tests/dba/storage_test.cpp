// Database files, records on disk, transactions and routines: what is
// written is read back, after a reopen too, and failures change nothing.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "dba/database.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::Marks;
using testing::ScratchDatabase;

template <class F>
std::uint32_t ErrorOf(F&& f) {
  try {
    f();
  } catch (const DbaError& e) {
    return e.number();
  }
  return 0;
}

TEST(Opening, MissingDatabaseIsNotCreatedUnlessAsked) {
  ScratchDatabase scratch;
  EXPECT_EQ(ErrorOf([&] { (void)Database::Open(scratch.path()); }), kErrDatabaseNotFound);
  EXPECT_FALSE(std::ifstream(scratch.path()).good());
  auto db = scratch.Open();
  EXPECT_TRUE(db->Files().empty());
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Listing(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& e :
       std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Another program's SQLite file, made with SQLite itself.
void MakeSqliteFile(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

struct ForeignFile {
  const char* name;
  std::function<void(const std::string& path)> make;
  bool createMakesADatabase;  // only a file with nothing in it may become one
};

TEST(Opening, AFileThatIsNotOursIsRefusedAndLeftUntouched) {
  if (testing::OnPostgres()) GTEST_SKIP() << "the layout of a SQLite file";
  const ForeignFile files[] = {
      {"zero length", [](const std::string& p) { std::ofstream{p}; }, true},
      {"text", [](const std::string& p) { std::ofstream(p) << "not a database, just text\n"; },
       false},
      {"SQLite with tables",
       [](const std::string& p) {
         MakeSqliteFile(p,
                        "CREATE TABLE clients(id INTEGER PRIMARY KEY, nom TEXT);"
                        "INSERT INTO clients VALUES(1, 'Müller');");
       },
       false},
      {"SQLite in WAL mode",
       [](const std::string& p) {
         MakeSqliteFile(p, "PRAGMA journal_mode=WAL; CREATE TABLE t(x); INSERT INTO t VALUES(1);");
       },
       false},
      {"SQLite without tables but marked",
       [](const std::string& p) { MakeSqliteFile(p, "PRAGMA user_version=7;"); }, false},
  };
  for (const ForeignFile& f : files) {
    for (const bool create : {false, true}) {
      SCOPED_TRACE(std::string(f.name) + (create ? ", create" : ""));
      ScratchDatabase scratch;
      f.make(scratch.path());
      const std::string before = Bytes(scratch.path());
      const std::vector<std::string> around = Listing(scratch.path());
      if (create && f.createMakesADatabase) {
        auto db = scratch.Open({.create = true});
        db->CreateFile("F");
        EXPECT_EQ(db->Files(), std::vector<std::string>{"F"});
        continue;
      }
      try {
        (void)scratch.Open({.create = create});
        ADD_FAILURE() << "opened";
      } catch (const DbaError& e) {
        EXPECT_EQ(e.number(), kErrDatabaseNotFound);
        EXPECT_NE(std::string(e.what()).find("n'est pas une base de données multivaleur"),
                  std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find(scratch.path()), std::string::npos) << e.what();
      }
      EXPECT_EQ(Bytes(scratch.path()), before) << "the file was changed";
      EXPECT_EQ(Listing(scratch.path()), around) << "files were left beside it";
    }
  }
}

TEST(Opening, ADatabaseOfANewerFormatIsRefused) {
  if (testing::OnPostgres()) GTEST_SKIP() << "the layout of a SQLite file";
  ScratchDatabase scratch;
  scratch.Open()->CreateFile("F");
  MakeSqliteFile(scratch.path(), "PRAGMA user_version=2;");
  EXPECT_EQ(ErrorOf([&] { (void)Database::Open(scratch.path()); }), kErrDatabaseNotFound);
  MakeSqliteFile(scratch.path(), "PRAGMA user_version=0;");  // made before versions were kept
  EXPECT_EQ(Database::Open(scratch.path())->Files(), std::vector<std::string>{"F"});
}

TEST(Opening, AServerThatCannotBeReachedIsRefusedWithoutShowingThePassword) {
  for (const std::string uri : {"postgresql://clerk:s3cret@/paie?host=/nonexistent-dir",
                                "postgres://clerk:s3cret@/paie?host=/nonexistent-dir"}) {
    try {
      (void)Database::Open(uri, {.create = true});
      ADD_FAILURE() << "opened " << uri;
    } catch (const DbaError& e) {
      EXPECT_EQ(e.number(), kErrDatabaseNotFound);
      const std::string message = e.what();
      EXPECT_EQ(message.find("s3cret"), std::string::npos) << message;
      EXPECT_NE(message.find("postgres"), std::string::npos) << message;
#if MORVANEL_NO_POSTGRESQL
      EXPECT_NE(message.find("sans PostgreSQL"), std::string::npos) << message;
#endif
    }
  }
  EXPECT_FALSE(std::filesystem::exists("postgresql:")) << "a URI is never taken for a file";
}

TEST(Files, CreateOpenDelete) {
  ScratchDatabase scratch;
  auto db = scratch.Open();
  try {
    (void)db->DBOpen("CENTREURSSAF");
    FAIL() << "opened a file that does not exist";
  } catch (const DbaError& e) {
    EXPECT_EQ(e.number(), kErrFileNotFound);
    EXPECT_NE(std::string(e.what()).find("CENTREURSSAF"), std::string::npos);
  }
  EXPECT_TRUE(db->Files().empty()) << "DBOpen must not create a file";

  db->CreateFile("CENTREURSSAF");
  db->CreateFile("COMPTEUR");
  EXPECT_EQ(ErrorOf([&] { db->CreateFile("COMPTEUR"); }), kErrFileExists);
  EXPECT_EQ(db->Files(), (std::vector<std::string>{"CENTREURSSAF", "COMPTEUR"}));

  DBFile f = db->DBOpen("COMPTEUR");
  f.DBNew("999").DBWrite();
  db->DeleteFile("COMPTEUR");
  EXPECT_EQ(db->Files(), std::vector<std::string>{"CENTREURSSAF"});
  EXPECT_EQ(ErrorOf([&] { f.DBNew("1").DBWrite(); }), kErrFileNotFound)
      << "a write through a file deleted meanwhile must fail, not vanish";
  db->CreateFile("COMPTEUR");
  EXPECT_EQ(db->DBOpen("COMPTEUR").DBRead("999").Item(), "") << "records went with the file";
}

TEST(Records, WriteReadDeleteAndMissingKeys) {
  ScratchDatabase scratch;
  std::string written;
  {
    auto db = scratch.Open();
    db->CreateFile("CENTREURSSAF");
    CItem missing = db->DBOpen("CENTREURSSAF").DBRead("07");
    EXPECT_EQ(missing.Item(), "");
    EXPECT_EQ(missing.Key(), "07");
    EXPECT_TRUE(missing.IsBound());
    missing.setItem(1, "URSSAF Rhône");
    missing.setItem(20, -1, "20454");
    missing.DBWrite();
    written = missing.Item();
  }
  // Read back through a fresh connection: the write must have reached the disk.
  auto db = Database::Open(scratch.path());
  DBFile f = db->DBOpen("CENTREURSSAF");
  EXPECT_EQ(f.DBRead("07").Item(), written);
  EXPECT_EQ(f.DBRead("07").Item(0), "07");

  EXPECT_EQ(f.DBDelete("07"), 0);
  EXPECT_EQ(f.DBDelete("07"), 1);
  EXPECT_EQ(f.DBRead("07").Item(), "");
}

TEST(Records, HostileKeysAndValuesRoundTrip) {
  ScratchDatabase scratch;
  auto db = scratch.Open();
  db->CreateFile("F");
  DBFile f = db->DBOpen("F");
  const std::vector<std::string> keys = {"'",     "\"",  "x'; DROP TABLE records; --", "%", "_",
                                         "é\t\n", "a b", std::string(500, 'k')};
  for (const std::string& key : keys) {
    CItem r = f.DBNew(key);
    r.setItem(1, key);
    r.setItem(2, Marks("v1]'); DELETE FROM files; --]\\"));
    r.DBWrite();
  }
  for (const std::string& key : keys) {
    const CItem r = f.DBRead(key);
    EXPECT_EQ(r.Item(1), key);
    EXPECT_EQ(r.DCount(2), 3);
  }
  EXPECT_EQ(db->Files(), std::vector<std::string>{"F"});
}

TEST(Records, BadFileNamesAndKeysAreRefused) {
  ScratchDatabase scratch;
  auto db = scratch.Open();
  for (const std::string& name :
       {std::string(), std::string("A B"), std::string("X'; DROP TABLE records; --"), Marks("A^B"),
        std::string(200, 'A')}) {
    EXPECT_EQ(ErrorOf([&] { db->CreateFile(name); }), kErrBadArgument) << name;
  }
  EXPECT_TRUE(db->Files().empty());
  db->CreateFile("ÉTABLISSEMENT_2.bis-x");
  db->CreateFile("F");
  DBFile f = db->DBOpen("F");
  for (const std::string& key :
       {std::string(), Marks("a^b"), Marks("a]b"), Marks("a\\b"), std::string("a\0b", 3)}) {
    CItem r = f.DBNew(key);
    r.setItem(1, "x");
    EXPECT_EQ(ErrorOf([&] { r.DBWrite(); }), kErrBadArgument);
  }
  EXPECT_EQ(db->DBSelect(Marks("SELECT F^F^0")).Item(), "") << "nothing was written";
}

TEST(Transactions, CommitKeepsRollbackUndoes) {
  ScratchDatabase scratch;
  auto db = scratch.Open();
  db->CreateFile("F");
  DBFile f = db->DBOpen("F");
  {
    Transaction t(*db);
    // A refused write must not spoil the rest of the transaction.
    EXPECT_EQ(ErrorOf([&] { f.DBNew("").DBWrite(); }), kErrBadArgument);
    CItem r = f.DBNew("kept");
    r.setItem(1, "1");
    r.DBWrite();
    t.Commit();
    EXPECT_EQ(ErrorOf([&] { t.Commit(); }), kErrTransaction);
  }
  {
    Transaction t(*db);
    CItem r = f.DBNew("dropped");
    r.setItem(1, "1");
    r.DBWrite();
    EXPECT_EQ(f.DBDelete("kept"), 0);
    EXPECT_EQ(ErrorOf([&] { Transaction inner(*db); }), kErrTransaction);
  }  // destroyed without Commit
  EXPECT_EQ(f.DBRead("kept").Item(1), "1");
  EXPECT_EQ(f.DBRead("dropped").Item(), "");
}

}  // namespace
}  // namespace dba
