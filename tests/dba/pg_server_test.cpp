// A database server that goes away under a live session: restarted, or
// replaced by its standby after the primary stopped at once. The session
// goes on by itself; every save that returned is there afterwards, and the
// key counter never hands out a key twice. Runs on a primary/standby pair
// of its own (scripts/pg-cluster.sh start-pair), only where the tests have
// PostgreSQL (MORVANEL_TEST_PG set).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "dba/database.h"
#include "pg_scratch.h"

namespace dba {
namespace {

std::string g_dir;  // the pair's directory
std::string g_uri;  // both servers, following the primary

std::string Script(const std::string& action) {
  const std::string command = std::string(PG_CLUSTER_SCRIPT) + " " + action + " " + g_dir;
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, p) != nullptr) out = buffer;  // the last line
  if (pclose(p) != 0) ADD_FAILURE() << command << " failed";
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

// A new centre the way the control creates one: the next number of the key
// counter, then the centre under it, in one transaction.
std::string CreateCentre(Database& db) {
  Transaction t(db);
  DBFile counters = db.DBOpen("COMPTEUR");
  CItem counter = counters.DBRead("CENTREURSSAF");
  const std::string key = std::to_string(std::stoi("0" + counter.Item(1)) + 1);
  counter.setItem(1, key);
  counter.DBWrite();
  CItem centre = db.DBOpen("CENTREURSSAF").DBNew(key);
  centre.setItem(1, "URSSAF " + key);
  centre.DBWrite();
  t.Commit();
  return key;
}

TEST(ServerGoesAway, ARestartThenAFailoverLoseNoReturnedSave) {
  auto db = Database::Open(g_uri, {.create = true});
  db->CreateFile("COMPTEUR");
  db->CreateFile("CENTREURSSAF");
  std::set<std::string> saved;
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(saved.insert(CreateCentre(*db)).second);

  Script("restart");
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(saved.insert(CreateCentre(*db)).second);
  CItem changed = db->DBOpen("CENTREURSSAF").DBRead("3");
  changed.setItem(2, "changé après le redémarrage");
  changed.DBWrite();

  Script("failover");
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(saved.insert(CreateCentre(*db)).second);

  // Read through a session of its own, on whichever server is the primary.
  auto reader = Database::Open(g_uri);
  const DBFile centres = reader->DBOpen("CENTREURSSAF");
  for (const std::string& key : saved) EXPECT_EQ(centres.DBRead(key).Item(1), "URSSAF " + key);
  EXPECT_EQ(centres.DBRead("3").Item(2), "changé après le redémarrage");
  EXPECT_EQ(saved.size(), 15u);
}

}  // namespace
}  // namespace dba

int main(int argc, char** argv) {
  if (std::getenv("MORVANEL_TEST_PG") == nullptr) return morvanel::testing::kSkipped;
  ::testing::InitGoogleTest(&argc, argv);
  char dir[] = "/tmp/mv-pair-XXXXXX";
  if (mkdtemp(dir) == nullptr) return 1;
  dba::g_dir = dir;
  dba::g_uri = dba::Script("start-pair");
  const int status = dba::g_uri.empty() ? 1 : RUN_ALL_TESTS();
  dba::Script("stop");
  return status;
}
