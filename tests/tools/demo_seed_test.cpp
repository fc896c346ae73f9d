// The demo database: the documented layout of each file and the generated
// entities. The refusal to seed twice and the journal routine are run
// through mvdb (mvdb_cli_test); the counter and the rights are played by
// the scenarios (workflow_keys_grow, shell_rights_*).
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "demo/demo_data.h"
#include "demo/demo_seed.h"
#include "run_process.h"

namespace {

class DemoSeedTest : public ::testing::Test {
 protected:
  void SetUp() override { db_ = dba::Database::Open(dir_.File("demo.mvdb"), {.create = true}); }

  std::vector<std::string> Keys(const std::string& sentence, const std::string& file) {
    dba::CItem request;
    request.setItem(1, sentence);
    request.setItem(2, file);
    request.setItem(3, "0");
    const dba::CItem result = db_->DBSelect(request.Item());
    std::vector<std::string> keys;
    for (int i = 1; i <= result.DCount(); ++i) keys.push_back(result.Item(i));
    return keys;
  }
  dba::CItem Read(const std::string& file, const std::string& key) {
    return db_->DBOpen(file).DBRead(key);
  }

  tools_test::TempDir dir_;
  std::shared_ptr<dba::Database> db_;
};

bool ValidIban(const std::string& iban) {
  if (iban.size() != 27 || iban.substr(0, 2) != "FR") return false;
  const std::string moved = iban.substr(4) + "1527" + iban.substr(2, 2);  // F=15 R=27
  int rest = 0;
  for (char c : moved) rest = (rest * 10 + (c - '0')) % 97;
  return rest == 1;
}

TEST_F(DemoSeedTest, CentresFollowTheDocumentedLayout) {
  const demo::SeedSummary s = demo::SeedDemo(*db_);
  EXPECT_EQ(s.centres, 7);
  const std::vector<std::string> keys = Keys("SSELECT CENTREURSSAF", "CENTREURSSAF");
  ASSERT_EQ(keys, (std::vector<std::string>{"01", "02", "03", "04", "05", "06", "07"}));
  int longestHistory = 0;
  for (const std::string& key : keys) {
    SCOPED_TRACE(key);
    const dba::CItem c = Read("CENTREURSSAF", key);
    const std::string sigle = c.Item(1);
    EXPECT_EQ(sigle.substr(0, 7), "URSSAF ");
    EXPECT_TRUE(std::regex_match(sigle, std::regex("[A-Z' -]{1,40}")));
    EXPECT_LE(c.Item(2).size(), 60u);
    EXPECT_TRUE(std::regex_match(c.Item(7), std::regex("[0-9]{5}")));
    EXPECT_EQ(c.Item(10), "FRANCE");
    EXPECT_EQ(c.Item(16).size(), 3u);
    EXPECT_TRUE(c.Item(17) == "0" || c.Item(17) == "1");
    EXPECT_TRUE(std::regex_match(c.Item(22), std::regex("[0-9]*")));
    EXPECT_TRUE(std::regex_match(c.Item(24), std::regex("[0-9]{9}")));
    EXPECT_TRUE(std::regex_match(c.Item(25), std::regex("([0-9]{6})?")));
    EXPECT_TRUE(ValidIban(c.Item(28))) << c.Item(28);
    // Rate history: parallel lists, newest date first.
    const std::vector<std::string> dates = c.Values(20), rates = c.Values(21);
    EXPECT_EQ(c.DCount(20), c.DCount(21));
    for (std::size_t i = 1; i < dates.size(); ++i)
      EXPECT_GT(std::stoi(dates[i - 1]), std::stoi(dates[i]));
    longestHistory = std::max(longestHistory, c.DCount(20));
  }
  EXPECT_GE(longestHistory, 5);
  EXPECT_EQ(Read("CENTREURSSAF", "01").Item(20, 1), "20455");
  EXPECT_EQ(Read("CENTREURSSAF", "01").Item(21, 1), "6900");
}

TEST_F(DemoSeedTest, EntitiesHaveCountedActivitiesAndTheirEstablishments) {
  (void)demo::SeedDemo(*db_);
  const std::vector<std::string> counted =
      Keys("SSELECT ACTIVITES AVEC 12= \"M\" PAR @ID", "ACTIVITES");
  EXPECT_EQ(counted, (std::vector<std::string>{"001AD", "001SS", "002AD", "125AD"}));
  for (const char* entity : {"001", "002", "125"}) {
    EXPECT_NE(Read("ASSOCIATION", entity).Item(1), "") << entity;
  }
  EXPECT_EQ(Read("ASSOCIATION", "001").Item(1), "ASSOCIATION D'AIDE A DOMICILE DU RHONE");
  const auto establishments = [&](const std::string& entity) {
    return Keys("SSELECT ETABLISSEMENT AVEC @ID = \"" + entity + "]\" PAR @ID", "ETABLISSEMENT");
  };
  EXPECT_EQ(establishments("002"), std::vector<std::string>{"002001"});  // single establishment
  EXPECT_EQ(establishments("001").size(), 4u);
  EXPECT_EQ(establishments("125").size(), 3u);
  // Every centre's attachment names an existing establishment.
  for (const std::string& key : Keys("SSELECT CENTREURSSAF", "CENTREURSSAF")) {
    const std::string attachment = Read("CENTREURSSAF", key).Item(25);
    if (!attachment.empty()) {
      EXPECT_NE(Read("ETABLISSEMENT", attachment).Item(1), "") << key;
    }
  }
}

TEST_F(DemoSeedTest, CaseRecordsPointToExistingCentres) {
  const demo::SeedSummary s = demo::SeedDemo(*db_);
  EXPECT_EQ(s.cases, 300);
  // That none points to a missing centre is a content rule of the random
  // sessions, checked on the seeded database by their own tests.
  for (const char* centre : {"01", "02", "03", "04", "05", "06", "07"}) {
    EXPECT_FALSE(
        Keys(std::string("SSELECT ELTSPARTEMP AVEC 1 = \"") + centre + "\"", "ELTSPARTEMP").empty())
        << centre;
  }
  EXPECT_TRUE(db_->HasIndex("ELTSPARTEMP", 1));
  EXPECT_NE(Read("ELTSPARTEMP", "000001").Item(2), "");
}

TEST_F(DemoSeedTest, ScaleMultipliesCasesAndAddsEntities) {
  const demo::SeedSummary s = demo::SeedDemo(*db_, {.scale = 2});
  EXPECT_EQ(s.cases, 600);
  EXPECT_EQ(s.entities, 3 + 60);
  EXPECT_EQ(Keys("SSELECT ASSOCIATION", "ASSOCIATION").size(), 63u);
  EXPECT_EQ(Read("ELTSPARTEMP", "000600").Item(1).size(), 2u);
  EXPECT_EQ(demo::GeneratedEntityCount(17), 500);
}

TEST_F(DemoSeedTest, SeedEntitiesBuildsTheLargePickerDatabase) {
  demo::SeedEntities(*db_, 500, 10);
  EXPECT_EQ(Keys("SSELECT ASSOCIATION", "ASSOCIATION").size(), 500u);
  EXPECT_EQ(Keys("SSELECT ETABLISSEMENT", "ETABLISSEMENT").size(), 5000u);
  EXPECT_EQ(Keys("SSELECT ACTIVITES AVEC 12= \"M\"", "ACTIVITES").size(), 500u);
  EXPECT_THROW(demo::SeedEntities(*db_, 801, 1), dba::DbaError);
  EXPECT_THROW(demo::SeedEntities(*db_, 1, 1000), dba::DbaError);
  EXPECT_EQ(Keys("SSELECT ASSOCIATION", "ASSOCIATION").size(),
            500u);  // refused calls wrote nothing
}

}  // namespace
