// Secondary indexes: the same sentences give the same results on a file
// with indexes and on its twin without, after the index is built on
// existing records and after writes and deletes that change indexed values.
#include <gtest/gtest.h>

#include "dba/database.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::Marks;
using testing::ScratchDatabase;

const char* const kSentences[] = {
    "SSELECT @F AVEC 1 = \"LYON\"",
    "SELECT @F AVEC 1 = \"LYON\"",
    "SSELECT @F AVEC 1 = \"L]\" PAR-DSND 2",
    "SSELECT @F AVEC 1 = \"\"",
    "SSELECT @F AVEC 2 = \"A\" PAR 1",
    "SSELECT @F AVEC 2 = \"A]\"",
    "SSELECT @F AVEC 2 = \"s\"",
    "SSELECT @F AVEC 2 = \"A\" ET 1 # \"LYON\"",
    "SSELECT @F AVEC 2 = \"A\" OU 1 = \"PARIS\"",
    "SSELECT @F AVEC 1 = \"\xFF\xFF]\"",
    "SSELECT @F AVEC 1 = \"Z\xFF]\"",
    "SSELECT @F AVEC 1 = \"\xC3\xA9]\"",
    "SSELECT @F AVEC @ID = \"1]\" PAR 1",
    "SSELECT @F AVEC 2 = \"A]\" PAR-DSND @ID",
    "SELECT @F AVEC 2 = \"A]\" ET 1 = \"LYON\" PAR-DSND 2",
    "SSELECT @F AVEC 1 = \"LYON\" ET 2 = \"A]\" PAR 1",
};

// Keys alone can come from the index without reading the records; other
// columns need them.
const char* const kColumns[] = {"0 1 2", "0", "", "@ID 2"};

std::string SelectIn(Database& db, const std::string& file, std::string sentence,
                     const char* columns = "0 1 2", int* count = nullptr) {
  sentence.replace(sentence.find("@F"), 2, file);
  CItem request;
  request.setItem(1, sentence);
  request.setItem(2, file);
  request.setItem(3, columns);
  return db.DBSelect(request.Item(), "", count).Item();
}

class IndexTwins : public ::testing::Test {
 protected:
  void SetUp() override {
    db = scratch.Open();
    db->CreateFile("PLAIN");
    db->CreateFile("INDEXED");
  }

  void PutBoth(const std::string& key, const std::string& readable) {
    for (const char* name : {"PLAIN", "INDEXED"}) {
      CItem r = db->DBOpen(name).DBNew(key);
      r.setItem(Marks(readable));
      r.DBWrite();
    }
  }

  void DeleteBoth(const std::string& key) {
    for (const char* name : {"PLAIN", "INDEXED"}) EXPECT_EQ(db->DBOpen(name).DBDelete(key), 0);
  }

  void ExpectSameResults(const char* when) {
    for (const char* s : kSentences) {
      for (const char* columns : kColumns) {
        EXPECT_EQ(SelectIn(*db, "INDEXED", s, columns), SelectIn(*db, "PLAIN", s, columns))
            << when << ": " << s << " / " << columns;
      }
    }
  }

  ScratchDatabase scratch;
  std::shared_ptr<Database> db;
};

TEST_F(IndexTwins, AgreeBeforeAndAfterUpdatesAndDeletes) {
  PutBoth("10", "LYON^A]B");
  PutBoth("11", "PARIS^A\\s]A");
  PutBoth("12", "LYON^C");
  PutBoth("13", "^A");
  PutBoth("14", "\xFF\xFF\x01^x");
  PutBoth("15", "Z\xFF\xFF^y");
  PutBoth("16", "\xC3\xA9vry^A");
  PutBoth("17", "LILLE");

  db->CreateIndex("INDEXED", 1);
  db->CreateIndex("INDEXED", 2);
  db->CreateIndex("INDEXED", 2);  // a second time is harmless
  EXPECT_TRUE(db->HasIndex("INDEXED", 1));
  EXPECT_TRUE(db->HasIndex("INDEXED", 2));
  EXPECT_FALSE(db->HasIndex("INDEXED", 3));
  EXPECT_FALSE(db->HasIndex("PLAIN", 1));
  ExpectSameResults("built on existing records");
  EXPECT_EQ(SelectIn(*db, "INDEXED", kSentences[0]), Marks("10]LYON]A\\B^12]LYON]C"));

  PutBoth("12", "PARIS^A]A");  // changes both indexed attributes
  PutBoth("18", "LYON^D]A");
  PutBoth("10", "LYON^A]B^more");  // indexed attributes unchanged
  DeleteBoth("11");
  DeleteBoth("16");
  ExpectSameResults("after writes and deletes");
  EXPECT_EQ(SelectIn(*db, "INDEXED", "SSELECT @F AVEC 2 = \"A\""),
            Marks("10]LYON]A\\B^12]PARIS]A\\A^13]]A^18]LYON]D\\A"));

  {
    Transaction t(*db);
    PutBoth("19", "LYON^A");
    DeleteBoth("10");
  }  // rolled back: the index entries go with it
  ExpectSameResults("after a rollback");
}

TEST_F(IndexTwins, RecordsReadTogetherThenRewrittenInATransactionKeepTheIndexExact) {
  PutBoth("10", "LYON^A");
  PutBoth("11", "PARIS]LYON^B");
  PutBoth("12", "");  // stored empty: its empty attribute is indexed too
  db->CreateIndex("INDEXED", 1);
  db->CreateIndex("INDEXED", 2);
  Transaction t(*db);
  for (const char* name : {"PLAIN", "INDEXED"}) {
    const DBFile f = db->DBOpen(name);
    std::vector<CItem> read = f.DBReadMany({"11", "12", "10", "19", "11"});
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(read[0].Item(), Marks("PARIS]LYON^B"));
    EXPECT_EQ(read[4].Item(), read[0].Item());
    EXPECT_EQ(read[1].Item(), "");
    EXPECT_EQ(read[3].Item(), "") << "a missing record";
    EXPECT_EQ(read[2].Key(), "10");
    for (int i : {0, 1, 3}) {
      read[i].setItem(1, "LILLE");
      read[i].DBWrite();
    }
    EXPECT_EQ(f.DBDelete("10"), 0);
    read[2].setItem(2, "C");
    read[2].DBWrite();  // back, with its old attribute 1
  }
  t.Commit();
  ExpectSameResults("after a transaction's rewrites");
  EXPECT_EQ(SelectIn(*db, "INDEXED", kSentences[3], "0"), "");
  EXPECT_EQ(SelectIn(*db, "INDEXED", "SSELECT @F AVEC 1 = \"LILLE\"", "0"), Marks("11^12^19"));
}

TEST_F(IndexTwins, ARecordRewrittenOverAndOverInATransactionIsIndexedAfterEachWrite) {
  PutBoth("10", "LYON^A");
  PutBoth("11", "LYON^A");
  db->CreateIndex("INDEXED", 1);
  db->CreateIndex("INDEXED", 2);
  Transaction t(*db);
  std::vector<CItem> read;
  for (const char* name : {"PLAIN", "INDEXED"}) read.push_back(db->DBOpen(name).DBRead("10"));
  // Read once, then: one value for another, nothing indexed changed, back,
  // both attributes, a value added, one taken away, and on again.
  for (const char* text :
       {"PARIS^A", "PARIS^A^note", "LYON^A", "LILLE^s", "LILLE]LYON^s", "LILLE^s", "PARIS^A\\s"}) {
    for (CItem& r : read) {
      r.setItem(Marks(text));
      r.DBWrite();
    }
    ExpectSameResults(text);
  }
  t.Commit();
  ExpectSameResults("after the commit");
  EXPECT_EQ(SelectIn(*db, "INDEXED", "SSELECT @F AVEC 1 = \"PARIS\"", "0"), "10");
}

TEST_F(IndexTwins, KeysAnsweredByTheIndexListEachMatchingRecordOnce) {
  // GIVEN records whose indexed attribute matches through several values and
  // subvalues, so the index lists some of them more than once for a prefix
  PutBoth("3", "LYON^AB]AC\\A");
  PutBoth("1", "PARIS^B\\A]A");
  PutBoth("2", "LYON^B]C");
  PutBoth("4", "^A]AB");
  db->CreateIndex("INDEXED", 2);
  ExpectSameResults("several values matching");

  // WHEN only keys are asked for THEN each matching record comes once, in
  // key order, and the count agrees
  int count = -1;
  EXPECT_EQ(SelectIn(*db, "INDEXED", "SSELECT @F AVEC 2 = \"A]\"", "0", &count), Marks("1^3^4"));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(SelectIn(*db, "INDEXED", "SSELECT @F AVEC 2 = \"A\" PAR-DSND @ID", "0", &count),
            Marks("4^3^1"));
  EXPECT_EQ(count, 3);

  // WHEN a record stops matching THEN the index no longer lists it
  PutBoth("3", "LYON^B");
  DeleteBoth("4");
  EXPECT_EQ(SelectIn(*db, "INDEXED", "SSELECT @F AVEC 2 = \"A]\"", "", &count), Marks("1"));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(SelectIn(*db, "INDEXED", "SSELECT @F AVEC 2 = \"AC\"", "0"), "");
  ExpectSameResults("after rewrites");
}

TEST_F(IndexTwins, IndexOfAMissingFileOrAnAttributeNoSentenceCanNameIsRefused) {
  try {
    db->CreateIndex("NOFILE", 1);
    FAIL() << "no error";
  } catch (const DbaError& e) {
    EXPECT_EQ(e.number(), kErrFileNotFound);
  }
  for (const int attribute : {0, -1, 1000001, 2147483647}) {
    try {
      db->CreateIndex("INDEXED", attribute);
      ADD_FAILURE() << attribute << ": no error";
    } catch (const DbaError& e) {
      EXPECT_EQ(e.number(), kErrBadArgument) << attribute;
    }
    EXPECT_FALSE(db->HasIndex("INDEXED", attribute)) << attribute;
  }
  // The highest attribute a sentence names is indexed and used like any other.
  PutBoth("1", "x");
  CItem far = db->DBOpen("INDEXED").DBNew("2");
  far.setItem(1000000, "LOIN");
  far.DBWrite();
  db->CreateIndex("INDEXED", 1000000);
  EXPECT_TRUE(db->HasIndex("INDEXED", 1000000));
  EXPECT_EQ(SelectIn(*db, "INDEXED", "SSELECT @F AVEC 1000000 = \"LOIN\"", "0"), "2");
}

TEST_F(IndexTwins, IndexCreatedByAnotherSessionIsKeptUpToDateByThisOne) {
  PutBoth("1", "LYON");
  auto other = Database::Open(scratch.path());
  DBFile mine = db->DBOpen("INDEXED");
  (void)mine.DBRead("1");            // this session has used the file before
  other->CreateIndex("INDEXED", 1);  // another session adds the index
  PutBoth("1", "PARIS");
  PutBoth("2", "LYON");
  ExpectSameResults("index added by another session");
}

}  // namespace
}  // namespace dba
