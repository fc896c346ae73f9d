// Keys and indexed values of any length, a few bytes to a megabyte: stored,
// found by equality and by prefix on the key and on an index, given in byte
// order, locked, rewritten and deleted alike on every backend. A server's
// btree refuses rows past a few kilobytes; nothing of that may show.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "test_database.h"

namespace dba {
namespace {

using testing::ScratchDatabase;

// Around the lengths where storage changes its ways, up to a megabyte.
constexpr std::size_t kLengths[] = {9, 1000, 1001, 3032, std::size_t{1} << 20};
// Several records per length, told apart only by their last byte: long keys
// sharing everything else must still come in byte order.
constexpr char kTags[] = "31524";

std::string KeyOf(std::size_t n, char tag) { return std::string(n, 'K') + tag; }
std::string ValueOf(std::size_t n, char tag) { return std::string(n, 'V') + tag; }

class LongValues : public ::testing::Test {
 protected:
  void SetUp() override {
    db = scratch.Open();
    db->CreateFile("F");
    file = db->DBOpen("F");
    for (const std::size_t n : kLengths) {
      for (const char* t = kTags; *t; ++t) {
        Put(KeyOf(n, *t), ValueOf(n, *t));
        // The index arrives halfway: built from long data, then kept by writes.
        if (n == 1001 && *t == kTags[0]) db->CreateIndex("F", 1);
      }
    }
  }

  void Put(const std::string& key, const std::string& value) {
    CItem r = file.DBNew(key);
    r.setItem(1, value);
    r.setItem(2, "Z");
    r.DBWrite();
    stored[key] = value;
  }

  // The keys a sentence selects, as one list.
  std::vector<std::string> Keys(const std::string& sentence) {
    CItem request;
    request.setItem(1, sentence);
    request.setItem(3, "0");
    const CItem result = db->DBSelect(request.Item());
    std::vector<std::string> keys;
    for (int i = 1; i <= result.DCount(); ++i) keys.push_back(result.Item(i));
    return keys;
  }

  // The keys, in byte order, of the records whose key or value (attribute
  // 1) `keep` accepts.
  template <class Keep>
  std::vector<std::string> Expected(Keep keep) const {
    std::vector<std::string> keys;
    for (const auto& [key, value] : stored) {
      if (keep(key, value)) keys.push_back(key);
    }
    return keys;  // a std::map: byte order already
  }

  // Every way of asking: an index or key condition alone (answered from
  // the index where there is one), and with a second condition that makes
  // the records themselves be read.
  void ExpectSelects(const std::string& condition, const std::vector<std::string>& expected) {
    EXPECT_EQ(Keys("SSELECT F AVEC " + condition), expected) << condition.size();
    EXPECT_EQ(Keys("SSELECT F AVEC " + condition + " ET 2 = \"Z\""), expected) << condition.size();
  }

  ScratchDatabase scratch;
  std::shared_ptr<Database> db;
  DBFile file;
  std::map<std::string, std::string> stored;
};

TEST_F(LongValues, AreReadSelectedAndListedInByteOrder) {
  std::vector<std::string> listed;
  file.ForEachRecord([&](std::string_view key, std::string_view text) {
    listed.emplace_back(key);
    EXPECT_EQ(CItem(std::string(text)).Item(1), stored[std::string(key)]);
  });
  EXPECT_EQ(listed, Expected([](auto&, auto&) { return true; }));
  EXPECT_EQ(Keys("SSELECT F"), listed);

  for (const auto& [key, value] : stored) {
    EXPECT_EQ(file.DBRead(key).Item(1), value) << key.size();
    ExpectSelects("1 = \"" + value + "\"", {key});
    ExpectSelects("@ID = \"" + key + "\"", {key});
  }
  for (const std::size_t n : kLengths) {
    // Every value or key of this length or longer begins with the prefix.
    const std::string values(n, 'V'), keys(n, 'K');
    ExpectSelects("1 = \"" + values + "]\"",
                  Expected([&](auto&, auto& v) { return v.starts_with(values); }));
    ExpectSelects("@ID = \"" + keys + "]\"",
                  Expected([&](auto& k, auto&) { return k.starts_with(keys); }));
    ExpectSelects("1 = \"" + values + "3]\"",
                  Expected([&](auto&, auto& v) { return v.starts_with(values + "3"); }));
  }
  EXPECT_TRUE(db->Check().empty());
}

TEST_F(LongValues, AreRewrittenLockedAndDeleted) {
  const std::string big = KeyOf(kLengths[4], '5');
  const std::string mid = KeyOf(kLengths[3], '1');
  // A rewrite moves the record from its old index value to its new one.
  Put(big, ValueOf(kLengths[3], '9'));
  ExpectSelects("1 = \"" + ValueOf(kLengths[4], '5') + "\"", {});
  ExpectSelects("1 = \"" + ValueOf(kLengths[3], '9') + "\"", {big});

  // Another session cannot take or write a long record this one holds.
  (void)file.ReadLocked(big);
  auto other = Database::Open(scratch.path(), {.lockTimeoutMs = 50});
  const DBFile theirs = other->DBOpen("F");
  try {
    (void)theirs.ReadLocked(big);
    ADD_FAILURE() << "locked twice";
  } catch (const DbaError& e) {
    EXPECT_EQ(e.number(), kErrRecordLocked);
  }
  EXPECT_EQ(theirs.ReadLocked(mid).Item(1), stored[mid]);  // its neighbour is free
  theirs.Release(mid);
  file.Release(big);
  EXPECT_EQ(theirs.ReadLocked(big).Item(1), ValueOf(kLengths[3], '9'));
  theirs.Release(big);

  EXPECT_EQ(file.DBDelete(big), 0);
  EXPECT_EQ(file.DBDelete(big), 1);
  EXPECT_EQ(file.DBRead(big).Item(), "");
  ExpectSelects("1 = \"" + ValueOf(kLengths[3], '9') + "\"", {});
  ExpectSelects("@ID = \"" + big + "\"", {});
  EXPECT_TRUE(db->Check().empty());
}

TEST_F(LongValues, AreReadTogetherRewrittenInATransactionAndDeletedUnindexed) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : stored) keys.push_back(key);
  keys.push_back(KeyOf(kLengths[4], '0'));  // missing, and sharing their head
  std::vector<CItem> read = file.DBReadMany(keys);
  ASSERT_EQ(read.size(), keys.size());
  for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
    EXPECT_EQ(read[i].Item(1), stored[keys[i]]) << keys[i].size();
  }
  EXPECT_EQ(read.back().Item(), "");

  const std::string big = KeyOf(kLengths[4], '2');
  {
    Transaction t(*db);
    CItem r = file.DBReadMany({big})[0];
    r.setItem(1, ValueOf(kLengths[3], '8'));
    r.DBWrite();
    t.Commit();
  }
  ExpectSelects("1 = \"" + ValueOf(kLengths[4], '2') + "\"", {});
  ExpectSelects("1 = \"" + ValueOf(kLengths[3], '8') + "\"", {big});

  db->CreateFile("G");  // no index: its writes and deletes take the short way
  const DBFile plain = db->DBOpen("G");
  for (const char tag : {'1', '2'}) {
    CItem r = plain.DBNew(KeyOf(kLengths[4], tag));
    r.setItem(1, "Z");
    r.DBWrite();
  }
  EXPECT_EQ(plain.DBDelete(KeyOf(kLengths[4], '1')), 0);
  EXPECT_EQ(plain.DBDelete(KeyOf(kLengths[4], '1')), 1);
  EXPECT_EQ(plain.DBRead(KeyOf(kLengths[4], '2')).Item(1), "Z");
  EXPECT_TRUE(db->Check().empty());
}

}  // namespace
}  // namespace dba
