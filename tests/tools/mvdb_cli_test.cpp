// mvdb run as a program on a temporary database: record commands, the
// shown form on the command line, export/import, selections, and the exit
// statuses and messages of every kind of failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "dba/database.h"
#include "run_process.h"

namespace {

using tools_test::ProcessResult;

class MvdbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = dir_.File("t.mvdb");
    ASSERT_EQ(Mvdb({"create", db_, "CLIENTS", "ETABLISSEMENT"}).status, 0);
  }
  static ProcessResult Mvdb(const std::vector<std::string>& args, const std::string& input = "") {
    return tools_test::RunProgram(MVDB_EXE, args, input);
  }
  // What the database really holds, read without mvdb.
  std::string Stored(const std::string& file, const std::string& key) const {
    return dba::Database::Open(db_)->DBOpen(file).DBRead(key).Item();
  }

  tools_test::TempDir dir_;
  std::string db_;
};

// Every mark, escape and literal in one text: the shown form itself has its
// own unit tests, this is the command line round trip through the database.
TEST_F(MvdbTest, WriteStoresTheTranslatedTextAndReadPrintsItBack) {
  const std::string shown = "Hélène^20455]20089\\x^~^^~]~\\~~ ~x0A Noël";
  ASSERT_EQ(Mvdb({"write", db_, "CLIENTS", "K1", shown}).status, 0);
  EXPECT_EQ(Stored("CLIENTS", "K1"),
            "Hélène\xFE"
            "20455\xFD"
            "20089\xFCx\xFE^\xFE]\\~ \n Noël");
  const ProcessResult read = Mvdb({"read", db_, "CLIENTS", "K1"});
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.out, shown + "\n");
  EXPECT_EQ(read.err, "");
  EXPECT_EQ(Mvdb({"delete", db_, "CLIENTS", "K1"}).status, 0);
  EXPECT_EQ(Stored("CLIENTS", "K1"), "");
  EXPECT_NE(Mvdb({"help"}).out.find("~^ ~] ~\\ ~~"), std::string::npos) << "the escapes";
}

TEST_F(MvdbTest, ExportThenImportGivesBackEveryRecordByteForByte) {
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
  const std::vector<std::pair<std::string, std::string>> records = {
      {"01",
       "URSSAF ILE-DE-FRANCE\xFEUrssaf d'Île-de-France\xFE\xFE"
       "3 rue Franklin"},
      {"a^b]c\\d~", "key with literal marks\xFD\xFC"},
      {"line", "two\nlines\r\nand a tab\there"},
      {"all", everyByte},
  };
  {
    auto db = dba::Database::Open(db_);
    dba::DBFile f = db->DBOpen("CLIENTS");
    for (const auto& [key, text] : records) {
      dba::CItem r = f.DBNew(key);
      r.setItem(text);
      r.DBWrite();
    }
  }
  const ProcessResult exported = Mvdb({"export", db_, "CLIENTS"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(std::count(exported.out.begin(), exported.out.end(), '\n'), 4);

  const std::string copy = dir_.File("copy.mvdb");
  ASSERT_EQ(Mvdb({"create", copy, "CLIENTS"}).status, 0);
  const ProcessResult imported = Mvdb({"import", copy, "CLIENTS"}, exported.out);
  ASSERT_EQ(imported.status, 0) << imported.err;
  auto db = dba::Database::Open(copy);
  for (const auto& [key, text] : records) EXPECT_EQ(db->DBOpen("CLIENTS").DBRead(key).Item(), text);
  EXPECT_EQ(Mvdb({"export", copy, "CLIENTS"}).out, exported.out);
}

TEST_F(MvdbTest, ExportFailingPartWayPrintsNothing) {
  // GIVEN a database whose records fill many pages, one of them later damaged
  constexpr int kRecords = 1500;
  {
    auto db = dba::Database::Open(db_);
    dba::DBFile f = db->DBOpen("CLIENTS");
    dba::Transaction t(*db);
    for (int i = 0; i < kRecords; ++i) {
      char key[8];
      std::snprintf(key, sizeof key, "%04d", i);
      dba::CItem r = f.DBNew(key);
      r.setItem(std::string(300, static_cast<char>('a' + i % 26)));
      r.DBWrite();
    }
    t.Commit();
  }
  const auto size = std::filesystem::file_size(db_);
  {
    std::fstream file(db_, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(size * 3 / 4 / 4096 * 4096));
    const std::string junk(4096, '\x5A');
    file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  int before = 0;  // the damage is met part-way, after some records were read
  try {
    dba::Database::Open(db_)->DBOpen("CLIENTS").ForEachRecord(
        [&](std::string_view, std::string_view) { ++before; });
  } catch (const dba::DbaError&) {
  }
  ASSERT_GT(before, 0);
  ASSERT_LT(before, kRecords);
  // WHEN it is exported THEN no line at all, exit 1 with the storage error
  const ProcessResult r = Mvdb({"export", db_, "CLIENTS"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("error 0x80040001"), std::string::npos) << r.err;
}

TEST_F(MvdbTest, UnlockFreesARecordALiveSessionWillNotRelease) {
  ASSERT_EQ(Mvdb({"write", db_, "CLIENTS", "07", "x"}).status, 0);
  auto holder = dba::Database::Open(db_);
  (void)holder->DBOpen("CLIENTS").ReadLocked("07");
  const ProcessResult unlocked = Mvdb({"unlock", db_, "CLIENTS", "07"});
  EXPECT_EQ(unlocked.status, 0) << unlocked.err;
  auto other =
      dba::Database::Open(db_, {.create = false, .busyTimeoutMs = 5000, .lockTimeoutMs = 50});
  EXPECT_EQ(other->DBOpen("CLIENTS").ReadLocked("07").Item(), "x");
}

TEST_F(MvdbTest, ImportWithABadLineNamesItAndWritesNothing) {
  const std::pair<const char*, const char*> cases[] = {
      {"A^good\n\nB^fine\r\nno mark here\nC^x\n", "line 4"},
      // A Windows-1252 file: "ü" is the byte 0xFC, the subvalue mark's.
      {"A^Dupont\nB^M\xFCller\n", "line 2: byte 0xFC"},
  };
  for (const auto& [input, message] : cases) {
    const ProcessResult r = Mvdb({"import", db_, "CLIENTS"}, input);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(Stored("CLIENTS", "A"), "");
    EXPECT_EQ(Stored("CLIENTS", "B"), "");
  }
}

TEST_F(MvdbTest, ImportSkipsAByteOrderMarkAndTakesWindowsLineEnds) {
  const ProcessResult r = Mvdb({"import", db_, "CLIENTS"},
                               "\xEF\xBB\xBF"
                               "A^M\xC3\xBCller]Z\r\nB^x\r\n\r\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Stored("CLIENTS", "A"), "M\xC3\xBCller\xFDZ");
  EXPECT_EQ(Stored("CLIENTS", "B"), "x");
  EXPECT_EQ(Mvdb({"export", db_, "CLIENTS"}).out, "A^M\xC3\xBCller]Z\nB^x\n");
}

TEST_F(MvdbTest, ImportThatFailsOnAWriteUndoesTheOthers) {
  // GIVEN another session holding the lock of the third record
  auto holder = dba::Database::Open(db_);
  (void)holder->DBOpen("CLIENTS").ReadLocked("C");
  // WHEN an import writes A, B, then C
  const ProcessResult r = Mvdb({"import", db_, "CLIENTS"}, "A^1\nB^2\nC^3\n");
  // THEN it fails naming the line, and neither A nor B was written
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("error 0x8004000B: line 3:"), std::string::npos) << r.err;
  EXPECT_EQ(Stored("CLIENTS", "A"), "");
  EXPECT_EQ(Stored("CLIENTS", "B"), "");
}

TEST_F(MvdbTest, SelectTakesTheSentenceAsTypedAndPrintsTheResultRecord) {
  const std::string input =
      "001001^SIEGE DE LYON\n001002^ANTENNE DE VILLEURBANNE\n002001^ETABLISSEMENT UNIQUE\n"
      "1250^AUTRE\n";
  ASSERT_EQ(Mvdb({"import", db_, "ETABLISSEMENT"}, input).status, 0);
  // The "]" closing the quoted value means "begins with"; it must reach the
  // database untranslated.
  const ProcessResult startsWith =
      Mvdb({"select", db_, "SSELECT ETABLISSEMENT AVEC @ID = \"001]\" PAR @ID", "0 1"});
  EXPECT_EQ(startsWith.status, 0) << startsWith.err;
  EXPECT_EQ(startsWith.out, "001001]SIEGE DE LYON^001002]ANTENNE DE VILLEURBANNE\n");

  const ProcessResult keys = Mvdb({"select", db_, "SSELECT ETABLISSEMENT PAR 1"});
  EXPECT_EQ(keys.out, "001002^1250^002001^001001\n");
  const ProcessResult lines = Mvdb({"select", db_, "SSELECT ETABLISSEMENT PAR 1", "--lines"});
  EXPECT_EQ(lines.out, "001002\n1250\n002001\n001001\n");

  const ProcessResult none = Mvdb({"select", db_, "SSELECT ETABLISSEMENT AVEC 1 = \"X\""});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");
}

// Usage errors exit 2, database errors 1 with their number; neither prints
// anything on standard output nor changes what it could not do.
TEST_F(MvdbTest, FailuresExitWithTheirStatusAndMessageAndChangeNothing) {
  const std::string empty = dir_.File("empty.mvdb"), absent = dir_.File("absent.mvdb");
  std::ofstream{empty};
  const struct {
    std::vector<std::string> args;  // "DB" stands for the test database
    int status;
    const char* message;
  } cases[] = {
      {{}, 2, "no command"},
      {{"frobnicate", "DB"}, 2, "unknown command"},
      {{"read", "DB", "CLIENTS"}, 2, "usage: mvdb read"},
      {{"write", "DB", "CLIENTS", "K"}, 2, "usage: mvdb write"},
      {{"write", "DB", "CLIENTS", "K", "bad ~q escape"}, 2, "bad escape"},
      {{"index", "DB", "CLIENTS", "one"}, 2, "ATTR must be a number"},
      {{"seed-demo", "DB", "--scale"}, 2, "usage: mvdb seed-demo"},
      {{"seed-demo", "DB", "--scale", "0"}, 2, "1 or more"},
      {{"select", "DB", "SSELECT"}, 2, "must name a file"},
      {{"read", "DB", "CLIENTS", "07"}, 1, "record 07 not found in CLIENTS"},
      {{"delete", "DB", "CLIENTS", "07"}, 1, "record 07 not found in CLIENTS"},
      {{"unlock", "DB", "CLIENTS", "08"}, 1, "record 08 of CLIENTS holds no lock"},
      {{"create", "DB", "CLIENTS", "FOURNISSEURS"}, 1, "file CLIENTS already exists"},
      {{"read", absent, "CLIENTS", "1"}, 1, "error 0x80040002: "},
      {{"files", empty}, 1, "error 0x80040002: "},  // not a database: left untouched
      {{"write", empty, "CLIENTS", "1", "x"}, 1, "error 0x80040002: "},
      {{"read", "DB", "NOFILE", "1"}, 1, "error 0x80040003: "},
      {{"write", "DB", "NOFILE", "1", "x"}, 1, "error 0x80040003: "},
      {{"call", "DB", "NOROUTINE"}, 1, "error 0x80040006: "},
      {{"index", "DB", "CLIENTS", "1000001"}, 1, "error 0x80040008: "},  // no sentence uses it
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    for (std::string& a : args) {
      if (a == "DB") a = db_;
    }
    const ProcessResult r = Mvdb(args);
    EXPECT_EQ(r.status, c.status) << c.message;
    EXPECT_EQ(r.out, "") << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  EXPECT_EQ(Stored("CLIENTS", "K"), "");
  // The existing file reported, the others still created; no demo files.
  EXPECT_EQ(Mvdb({"files", db_}).out, "CLIENTS\nETABLISSEMENT\nFOURNISSEURS\n");
  EXPECT_FALSE(std::filesystem::exists(absent));
  EXPECT_EQ(std::filesystem::file_size(empty), 0u);
}

TEST_F(MvdbTest, CopyMakesANewDatabaseThenRefusesToCopyOverIt) {
  ASSERT_EQ(Mvdb({"write", db_, "CLIENTS", "K1", "Dupont^x]y"}).status, 0);
  const std::string copy = dir_.File("copy.mvdb");
  const ProcessResult first = Mvdb({"copy", db_, copy});
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, "copied 2 files, 1 records, 0 indexes into " + copy + "\n");
  EXPECT_EQ(dba::Database::Open(copy)->DBOpen("CLIENTS").DBRead("K1").Item(), "Dupont\xFEx\xFDy");

  // A refused copy (the files exist) writes nothing: see the database copy tests.
  const ProcessResult again = Mvdb({"copy", db_, copy});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("0x80040004"), std::string::npos) << again.err;
}

TEST_F(MvdbTest, SeedDemoOnceThenTheRoutineStampsTheJournal) {
  const std::string demo = dir_.File("demo.mvdb");
  const ProcessResult seeded = Mvdb({"seed-demo", demo});
  ASSERT_EQ(seeded.status, 0) << seeded.err;
  EXPECT_NE(seeded.out.find("7 centres"), std::string::npos) << seeded.out;
  EXPECT_EQ(Mvdb({"files", demo}).out,
            "ACTIVITES\nASSOCIATION\nCENTREURSSAF\nCOMPTEUR\nDROITS\nELTSPARTEMP\n"
            "ETABLISSEMENT\nJOURNAL\n");

  ASSERT_EQ(Mvdb({"write", demo, "CENTREURSSAF", "01", "CHANGED"}).status, 0);
  const ProcessResult again = Mvdb({"seed-demo", demo});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("error 0x80040004: "), std::string::npos) << again.err;
  EXPECT_NE(again.err.find("already has a CENTREURSSAF file"), std::string::npos) << again.err;
  EXPECT_EQ(Mvdb({"read", demo, "CENTREURSSAF", "01"}).out, "CHANGED\n") << "seeded again";

  EXPECT_EQ(Mvdb({"read", demo, "JOURNAL", "UNIPGCENTREURSSAF"}).status, 1);  // never run yet
  EXPECT_EQ(Mvdb({"call", demo, "UNIPGCENTREURSSAF"}).out, "1\n");
  EXPECT_EQ(Mvdb({"call", demo, "UNIPGCENTREURSSAF"}).out, "2\n");
  const ProcessResult journal = Mvdb({"read", demo, "JOURNAL", "UNIPGCENTREURSSAF"});
  EXPECT_EQ(journal.status, 0);
  EXPECT_TRUE(
      std::regex_match(journal.out, std::regex("2\\^20[0-9]{2}-[01][0-9]-[0-3][0-9]T[0-9:]{8}Z\n")))
      << journal.out;
}

}  // namespace
