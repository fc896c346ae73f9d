// Sessions side by side: record locks and their timeout (0x8004000B), stale
// locks of dead or killed processes (a live process id misleads nothing), scans that read one
// snapshot whatever the others do, and a counter shared by two real processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "dba/database.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::ScratchDatabase;

constexpr OpenOptions kShortWait{.create = false, .busyTimeoutMs = 5000, .lockTimeoutMs = 100};

class TwoSessions : public ::testing::Test {
 protected:
  void SetUp() override {
    first = scratch.Open();
    first->CreateFile("ELTSPARTEMP");
    second = Database::Open(scratch.path(), kShortWait);
    CItem r = first->DBOpen("ELTSPARTEMP").DBNew("E1");
    r.setItem(1, "07");
    r.DBWrite();
  }

  ScratchDatabase scratch;
  std::shared_ptr<Database> first;
  std::shared_ptr<Database> second;
};

template <class F>
std::string LockedMessage(F&& f) {
  try {
    f();
  } catch (const DbaError& e) {
    EXPECT_EQ(e.number(), 0x8004000Bu);
    return e.what();
  }
  ADD_FAILURE() << "no error";
  return {};
}

TEST_F(TwoSessions, LockedRecordTimesOutForTheOtherSessionOnly) {
  DBFile mine = first->DBOpen("ELTSPARTEMP");
  DBFile theirs = second->DBOpen("ELTSPARTEMP");
  CItem r = mine.ReadLocked("E1");
  EXPECT_EQ(r.Item(1), "07");
  EXPECT_EQ(mine.DBRead("E1").Item(1), "07") << "the owner reads its own locked record";

  const std::string message = LockedMessage([&] { (void)theirs.DBRead("E1"); });
  EXPECT_NE(message.find("E1"), std::string::npos);
  EXPECT_NE(message.find("ELTSPARTEMP"), std::string::npos);
  LockedMessage([&] { (void)theirs.ReadLocked("E1"); });
  LockedMessage([&] { (void)theirs.DBReadMany({"E2", "E1"}); });
  {
    Transaction t(*second);
    LockedMessage([&] { (void)theirs.DBReadMany({"E1"}); });
  }
  CItem blocked = theirs.DBNew("E1");
  blocked.setItem(1, "99");
  LockedMessage([&] { blocked.DBWrite(); });
  LockedMessage([&] { theirs.DBDelete("E1"); });
  EXPECT_EQ(theirs.DBRead("E2").Item(), "") << "other records stay free";

  r.setItem(1, "13");
  r.DBWrite();  // ends the lock
  EXPECT_EQ(theirs.DBRead("E1").Item(1), "13") << "the blocked write changed nothing";
  const std::vector<CItem> both = theirs.DBReadMany({"E1", "E2"});
  EXPECT_EQ(both.at(0).Item(1), "13");
  EXPECT_EQ(both.at(1).Item(), "");
}

TEST_F(TwoSessions, ReleaseAndClosingEndLocks) {
  DBFile theirs = second->DBOpen("ELTSPARTEMP");
  (void)first->DBOpen("ELTSPARTEMP").ReadLocked("E1");
  first->DBOpen("ELTSPARTEMP").Release("E1");
  EXPECT_EQ(theirs.DBRead("E1").Item(1), "07");

  (void)first->DBOpen("ELTSPARTEMP").ReadLocked("E1");
  (void)first->DBOpen("ELTSPARTEMP").ReadLocked("NEW");  // a key not yet written
  LockedMessage([&] { (void)theirs.ReadLocked("NEW"); });
  first.reset();
  EXPECT_EQ(theirs.DBRead("E1").Item(1), "07");
  EXPECT_EQ(theirs.ReadLocked("NEW").Item(), "");
}

TEST_F(TwoSessions, AScanReadsOneSnapshotAndIsNotHeldUpByLocks) {
  // GIVEN three records, the second locked by the first session
  DBFile mine = first->DBOpen("ELTSPARTEMP");
  for (const char* key : {"E2", "E3"}) {
    CItem r = mine.DBNew(key);
    r.setItem(1, std::string("was ") + key);
    r.DBWrite();
  }
  CItem locked = mine.ReadLocked("E2");
  // WHEN the second session scans while the first deletes E3 and rewrites E2
  std::vector<std::string> seen;
  second->DBOpen("ELTSPARTEMP").ForEachRecord([&](std::string_view key, std::string_view text) {
    if (seen.empty()) {
      EXPECT_EQ(mine.DBDelete("E3"), 0);
      locked.setItem(1, "changed");
      locked.DBWrite();
    }
    seen.push_back(std::string(key) + "=" + std::string(text));
  });
  // THEN the scan saw the records as they were when it began, and did not wait
  EXPECT_EQ(seen, (std::vector<std::string>{"E1=07", "E2=was E2", "E3=was E3"}));
  // AND a later scan sees the changes
  seen.clear();
  second->DBOpen("ELTSPARTEMP").ForEachRecord([&](std::string_view key, std::string_view text) {
    seen.push_back(std::string(key) + "=" + std::string(text));
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"E1=07", "E2=changed"}));
}

TEST_F(TwoSessions, AScanOfADeletedFileFails) {
  DBFile theirs = second->DBOpen("ELTSPARTEMP");
  first->DeleteFile("ELTSPARTEMP");
  int visited = 0;
  try {
    theirs.ForEachRecord([&](std::string_view, std::string_view) { ++visited; });
    ADD_FAILURE() << "no error";
  } catch (const DbaError& e) {
    EXPECT_EQ(e.number(), kErrFileNotFound);
  }
  EXPECT_EQ(visited, 0);
}

TEST_F(TwoSessions, WriterPastTheBusyTimeoutFailsReadersGoOn) {
  auto impatient = Database::Open(scratch.path(), {.create = false, .busyTimeoutMs = 50});
  DBFile f = impatient->DBOpen("ELTSPARTEMP");
  Transaction holding(*first);
  (void)first->DBOpen("ELTSPARTEMP").DBRead("E1");  // the write lock is held from here on
  CItem r = f.DBNew("E1");
  r.setItem(1, "99");
  for (const auto& attempt : std::vector<std::function<void()>>{[&] { r.DBWrite(); },
                                                                [&] {
                                                                  Transaction t(*impatient);
                                                                  (void)f.DBRead("E1");
                                                                },
                                                                [&] { f.DBDelete("E1"); }}) {
    try {
      attempt();
      ADD_FAILURE() << "no error";
    } catch (const DbaError& e) {
      EXPECT_EQ(e.number(), kErrBusy);
    }
  }
  EXPECT_EQ(f.DBRead("E1").Item(1), "07") << "readers are not blocked, nothing was written";
}

// The single number a query gives on PostgreSQL, -1 on failure.
int PgCount(const std::string& uri, const char* sql) {
  const std::string out = morvanel::testing::PgSql(uri, sql);
  return out.empty() || out.starts_with("error: ") ? -1 : std::atoi(out.c_str());
}

// A lock taken by another process that then dies. The child is forked
// before this process opens the database, as SQLite's state must not cross
// a fork.
class DeadOwner : public ::testing::Test {
 protected:
  void SetUp() override {
    auto db = scratch.Open();
    db->CreateFile("ELTSPARTEMP");
    CItem r = db->DBOpen("ELTSPARTEMP").DBNew("E1");
    r.setItem(1, "07");
    r.DBWrite();
  }

  // Forks a process that locks E1, then exits at once or waits to be killed;
  // returns once the lock is taken.
  pid_t ForkLocker(bool waitForKill) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
      char done = 'n';
      std::shared_ptr<Database> db;  // kept open: its close would release the lock
      try {
        db = Database::Open(scratch.path());
        (void)db->DBOpen("ELTSPARTEMP").ReadLocked("E1");
        done = 'y';
      } catch (...) {
      }
      (void)!write(ready[1], &done, 1);
      if (!waitForKill) _exit(0);  // dies holding the lock: no destructor runs
      for (;;) pause();
    }
    close(ready[1]);
    char done = 0;
    EXPECT_EQ(read(ready[0], &done, 1), 1);
    close(ready[0]);
    EXPECT_EQ(done, 'y');
    return child;
  }

  // The lock rows, read without the component.
  int LockRows() const {
    if (testing::OnPostgres()) return PgCount(scratch.path(), "SELECT count(*) FROM mv_locks");
    sqlite3* db = nullptr;
    int rows = -1;
    if (sqlite3_open(scratch.path().c_str(), &db) == SQLITE_OK) {
      sqlite3_exec(
          db, "SELECT count(*) FROM locks",
          [](void* out, int, char** values, char**) {
            *static_cast<int*>(out) = std::atoi(values[0]);
            return 0;
          },
          &rows, nullptr);
    }
    sqlite3_close(db);
    return rows;
  }

  ScratchDatabase scratch;
};

TEST_F(DeadOwner, LockOfAProcessThatExitedIsIgnored) {
  const pid_t child = ForkLocker(false);
  ASSERT_GT(child, 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(LockRows(), 1) << "the child's lock was left behind";
  auto db = Database::Open(scratch.path(), kShortWait);
  EXPECT_EQ(db->DBOpen("ELTSPARTEMP").DBRead("E1").Item(1), "07");
  EXPECT_EQ(db->DBOpen("ELTSPARTEMP").ReadLocked("E1").Item(1), "07");
}

TEST_F(DeadOwner, LockOfAKilledProcessHoldsWhileItLivesOnly) {
  const pid_t child = ForkLocker(true);
  ASSERT_GT(child, 0);
  auto db = Database::Open(scratch.path(), kShortWait);
  DBFile theirs = db->DBOpen("ELTSPARTEMP");
  LockedMessage([&] { (void)theirs.DBRead("E1"); });  // alive: its lock holds

  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(LockRows(), 1);
  EXPECT_EQ(theirs.DBRead("E1").Item(1), "07");
  EXPECT_EQ(theirs.ReadLocked("E1").Item(1), "07");
}

std::string ThisHost() {
  char name[256] = {};
  gethostname(name, sizeof name - 1);
  return name;
}

// Writes a lock row as a session that is gone would have left it.
void PlantLock(const std::string& path, const std::string& owner) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  sqlite3_busy_timeout(db, 5000);
  sqlite3_stmt* s = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db,
                               "INSERT OR REPLACE INTO locks(file_id,key,owner,pid) VALUES("
                               "(SELECT id FROM files WHERE name='ELTSPARTEMP'),'E1',?1,?2)",
                               -1, &s, nullptr),
            SQLITE_OK);
  sqlite3_bind_text(s, 1, owner.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int(s, 2, getpid());
  EXPECT_EQ(sqlite3_step(s), SQLITE_DONE);
  sqlite3_finalize(s);
  sqlite3_close(db);
}

TEST_F(TwoSessions, ALiveProcessIdDoesNotKeepADeadOwnersLock) {
  if (testing::OnPostgres()) GTEST_SKIP() << "owner tokens of the SQLite side file";
  const std::string me = std::to_string(getpid()) + "@" + ThisHost();
  const struct {
    const char* what;
    std::string owner;
  } stale[] = {
      // The first session holds slot 0 under a token of its own: the slot was
      // taken again after the row's owner died, by a process that may well
      // have the dead one's process id.
      {"slot taken again, live pid", "S0:" + me + "#0badc0de"},
      {"slot free, live pid", "S77:" + me + "#0badc0de"},
      {"slot free, another machine", "S5:4242@autre-machine#0badc0de"},
      {"row of an earlier version, this process", me + "#1-2"},
  };
  DBFile theirs = second->DBOpen("ELTSPARTEMP");
  auto third = Database::Open(scratch.path(), kShortWait);
  for (const auto& c : stale) {
    SCOPED_TRACE(c.what);
    PlantLock(scratch.path(), c.owner);
    EXPECT_EQ(theirs.DBRead("E1").Item(1), "07");
    EXPECT_EQ(theirs.ReadLocked("E1").Item(1), "07");
    LockedMessage([&] { (void)third->DBOpen("ELTSPARTEMP").DBRead("E1"); });  // now second's
    theirs.Release("E1");
  }
}

// A token that does not read whole cannot be judged, so its lock holds.
// Read leniently, each would name the second session's own slot (1) or this
// very process, and the lock would be dropped as stale.
TEST_F(TwoSessions, AnOwnerTokenThatDoesNotReadWholeKeepsItsLock) {
  if (testing::OnPostgres()) GTEST_SKIP() << "owner tokens of the SQLite side file";
  const std::string pid = std::to_string(getpid());
  const std::string rest = "@" + ThisHost() + "#0badc0de";
  const std::string unreadable[] = {
      "S1x:" + pid + rest,
      "S+1:" + pid + rest,
      "S 1:" + pid + rest,
      "S18446744073709551617:" + pid + rest,  // 2^64 + 1
      pid + "x" + rest,
      "+" + pid + rest,
      " " + pid + rest,
  };
  DBFile theirs = second->DBOpen("ELTSPARTEMP");
  for (const std::string& owner : unreadable) {
    SCOPED_TRACE(owner);
    PlantLock(scratch.path(), owner);
    LockedMessage([&] { (void)theirs.ReadLocked("E1"); });
  }
}

// The side file of lock owners taken by a pipe, which opens and locks but
// takes no positioned write: the database does not open, with a storage
// error, and each try leaves no descriptor behind.
TEST(OwnersFile, AnUnwritableOneFailsTheOpenWithoutLeaking) {
  if (testing::OnPostgres()) GTEST_SKIP() << "the SQLite side file";
  ScratchDatabase scratch;
  scratch.Open()->CreateFile("ELTSPARTEMP");
  const std::string owners = scratch.path() + "-owners";
  ASSERT_TRUE(std::filesystem::remove(owners));
  ASSERT_EQ(mkfifo(owners.c_str(), 0600), 0);
  const auto openFds = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  };
  const auto before = openFds();
  for (int i = 0; i < 3; ++i) {
    try {
      (void)Database::Open(scratch.path(), kShortWait);
      ADD_FAILURE() << "opened on a pipe";
    } catch (const DbaError& e) {
      EXPECT_EQ(e.number(), kErrStorage) << e.what();
    }
  }
  EXPECT_EQ(openFds(), before);
}

TEST_F(TwoSessions, AnAdministratorClearsALiveSessionsLock) {
  (void)first->DBOpen("ELTSPARTEMP").ReadLocked("E1");
  EXPECT_TRUE(second->ClearLock("ELTSPARTEMP", "E1"));
  EXPECT_FALSE(second->ClearLock("ELTSPARTEMP", "E1"));
  EXPECT_EQ(second->DBOpen("ELTSPARTEMP").ReadLocked("E1").Item(1), "07");
  EXPECT_FALSE(second->ClearLock("ELTSPARTEMP", "E2"));
}

// Hands out `rounds` numbers from counter 999, attribute 12, recording each
// in HANDED; returns 1 when a number was already recorded, 2 on an error.
int HandOut(const std::string& path, int rounds) {
  try {
    auto db =
        Database::Open(path, {.create = false, .busyTimeoutMs = 30000, .lockTimeoutMs = 5000});
    DBFile counters = db->DBOpen("COMPTEUR");
    DBFile handed = db->DBOpen("HANDED");
    for (int i = 0; i < rounds; ++i) {
      Transaction t(*db);
      CItem c = counters.DBRead("999");
      const std::string next = std::to_string(std::stoi("0" + c.Item(12)) + 1);
      c.setItem(12, next);
      c.DBWrite();
      if (!handed.DBRead(next).Item().empty()) return 1;
      CItem h = handed.DBNew(next);
      h.setItem(1, std::to_string(getpid()));
      h.DBWrite();
      t.Commit();
    }
  } catch (const std::exception&) {
    return 2;
  }
  return 0;
}

TEST(TwoProcesses, CounterNeverHandsOutTheSameNumberTwice) {
  ScratchDatabase scratch;
  {
    auto db = scratch.Open();
    db->CreateFile("COMPTEUR");
    db->CreateFile("HANDED");
  }
  constexpr int kRounds = 200;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(HandOut(scratch.path(), kRounds));
  const int mine = HandOut(scratch.path(), kRounds);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(mine, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  auto db = Database::Open(scratch.path());
  EXPECT_EQ(db->DBOpen("COMPTEUR").DBRead("999").Item(12), std::to_string(2 * kRounds));
  int count = 0;
  const CItem all = db->DBSelect(
      "SELECT HANDED\xFEHANDED\xFE"
      "0 1",
      "", &count);
  EXPECT_EQ(count, 2 * kRounds);
  int byChild = 0;
  for (int i = 1; i <= all.DCount(); ++i) byChild += all.Item(i, 2) == std::to_string(child);
  EXPECT_EQ(byChild, kRounds);
}

}  // namespace
}  // namespace dba
