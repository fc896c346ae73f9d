// Copying a whole database into another, across backends: every byte of
// every record, the indexes, and a refusal that writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dba/copy.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::Marks;
using testing::ScratchDatabase;

// Every record of every file, as "FILE/KEY=TEXT" in key order.
std::vector<std::string> Contents(Database& db) {
  std::vector<std::string> all;
  for (const std::string& f : db.Files()) {
    db.DBOpen(f).ForEachRecord([&](std::string_view key, std::string_view text) {
      all.push_back(f + "/" + std::string(key) + "=" + std::string(text));
    });
  }
  return all;
}

// A SQLite file beside the scratch database of the backend under test.
struct SqliteFile {
  SqliteFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dba-copy-XXXXXX").string();
    dir = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~SqliteFile() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  std::string dir;
};

TEST(Copy, EveryRecordAndIndexArrivesByteForByteThereAndBack) {
  // GIVEN a database with bytes of every value in its bodies, keys that are
  // not UTF-8 or longer than a server's index rows, and an index holding a
  // megabyte value
  ScratchDatabase scratch;
  auto source = scratch.Open();
  source->CreateFile("CENTREURSSAF");
  source->CreateFile("ELTSPARTEMP");
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  const std::string longKey(3032, 'k'), longValue(std::size_t{1} << 20, 'v');
  for (const std::string& key :
       {std::string("07"), std::string("\x80\xFF", 2), std::string("é"), longKey}) {
    CItem r = source->DBOpen("ELTSPARTEMP").DBNew(key);
    r.setItem(Marks("07]08^x^") + everyByte);
    r.DBWrite();
  }
  CItem big = source->DBOpen("ELTSPARTEMP").DBNew("08");
  big.setItem(1, longValue);
  big.DBWrite();
  CItem c = source->DBOpen("CENTREURSSAF").DBNew("07");
  c.setItem(Marks("URSSAF^Pays de la Loire"));
  c.DBWrite();
  source->CreateIndex("ELTSPARTEMP", 1);

  // WHEN it is copied into a SQLite file, and that one into a fresh database
  SqliteFile file;
  auto middle = Database::Open(file.dir + "/copy.mvdb", {.create = true});
  const CopySummary s = CopyDatabase(*source, *middle);
  ScratchDatabase again;
  auto back = again.Open();
  CopyDatabase(*middle, *back);

  // THEN both hold the same bytes, and the index answers as it did
  EXPECT_EQ(s.files, 2u);
  EXPECT_EQ(s.records, 6u);
  EXPECT_EQ(s.indexes, 1u);
  EXPECT_EQ(Contents(*middle), Contents(*source));
  EXPECT_EQ(Contents(*back), Contents(*source));
  EXPECT_TRUE(back->HasIndex("ELTSPARTEMP", 1));
  const std::string sentence = Marks("SSELECT ELTSPARTEMP AVEC 1 = \"08\"^ELTSPARTEMP^0");
  int count = 0;
  EXPECT_EQ(back->DBSelect(sentence, "", &count).Item(), source->DBSelect(sentence).Item());
  EXPECT_EQ(count, 4);
  const std::string byLong = "SSELECT ELTSPARTEMP AVEC 1 = \"" + longValue + "\"";
  EXPECT_EQ(back->DBSelect(byLong).Item(), "08");
}

TEST(Copy, ADestinationHoldingOneOfTheFilesIsRefusedAndLeftAsItWas) {
  ScratchDatabase scratch;
  auto source = scratch.Open();
  for (const char* f : {"A", "B", "C"}) {
    source->CreateFile(f);
    source->DBOpen(f).DBNew("1").DBWrite();
  }
  SqliteFile file;
  auto target = Database::Open(file.dir + "/copy.mvdb", {.create = true});
  target->CreateFile("C");  // the last one: A and B would come first
  try {
    CopyDatabase(*source, *target);
    ADD_FAILURE() << "copied";
  } catch (const DbaError& e) {
    EXPECT_EQ(e.number(), kErrFileExists);
    EXPECT_NE(std::string(e.what()).find("« C »"), std::string::npos) << e.what();
  }
  EXPECT_EQ(target->Files(), std::vector<std::string>{"C"});
  EXPECT_TRUE(Contents(*target).empty());
}

}  // namespace
}  // namespace dba
