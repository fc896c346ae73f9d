// Record locks met inside transactions and on records not yet written: a
// transaction must see the locks that exist when it starts, whatever an
// earlier transaction of the same session found, and a lock on a key with
// no record yet holds off readers like any other.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "dba/database.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::ScratchDatabase;

constexpr OpenOptions kShortWait{.create = false, .busyTimeoutMs = 5000, .lockTimeoutMs = 100};

class LockedInTransactions : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = scratch.Open();
    owner->CreateFile("ELTSPARTEMP");
    owner->CreateFile("AUTRE");
    reader = Database::Open(scratch.path(), kShortWait);
    for (const char* key : {"E1", "E2"}) {
      CItem r = owner->DBOpen("ELTSPARTEMP").DBNew(key);
      r.setItem(1, "07");
      r.DBWrite();
    }
  }

  // Runs `f`, which must fail as a locked record does.
  template <class F>
  void ExpectLocked(F&& f, const char* what) {
    try {
      f();
      ADD_FAILURE() << what << ": no error";
    } catch (const DbaError& e) {
      EXPECT_EQ(e.number(), kErrRecordLocked) << what << ": " << e.what();
    }
  }

  [[nodiscard]] std::string Stored(const char* key) {
    return owner->DBOpen("ELTSPARTEMP").DBRead(key).Item(1);
  }

  ScratchDatabase scratch;
  std::shared_ptr<Database> owner;   // takes the locks
  std::shared_ptr<Database> reader;  // meets them
};

TEST_F(LockedInTransactions, ALockTakenAfterAnUnlockedTransactionIsSeenByTheNext) {
  // GIVEN a transaction of the reader that found the file free of locks
  DBFile cases = reader->DBOpen("ELTSPARTEMP");
  {
    Transaction t(*reader);
    CItem r = cases.DBRead("E1");
    r.setItem(1, "13");
    r.DBWrite();
    t.Commit();
  }
  // WHEN another session locks E1 and the reader opens a new transaction
  (void)owner->DBOpen("ELTSPARTEMP").ReadLocked("E1");
  Transaction t(*reader);
  // THEN the free record reads and writes, the locked one fails at once
  CItem free = cases.DBRead("E2");
  EXPECT_EQ(free.Item(1), "07");
  free.setItem(1, "31");
  free.DBWrite();
  ExpectLocked([&] { (void)cases.DBRead("E1"); }, "read");
  CItem blocked = cases.DBNew("E1");
  blocked.setItem(1, "99");
  ExpectLocked([&] { blocked.DBWrite(); }, "write");
  t.Commit();
  // AND the blocked write changed nothing, the free one was kept
  EXPECT_EQ(Stored("E1"), "13");
  EXPECT_EQ(Stored("E2"), "31");
}

TEST_F(LockedInTransactions, InsideATransactionALockedRecordFailsWithoutWaitingForTheTimeout) {
  // A transaction holds the write lock the owner needs to let its record go:
  // waiting out even a patient session's timeout could only end in failure.
  std::shared_ptr<Database> patient = Database::Open(
      scratch.path(), {.create = false, .busyTimeoutMs = 5000, .lockTimeoutMs = 10000});
  (void)owner->DBOpen("ELTSPARTEMP").ReadLocked("E1");
  DBFile cases = patient->DBOpen("ELTSPARTEMP");
  Transaction t(*patient);
  const auto start = std::chrono::steady_clock::now();
  ExpectLocked([&] { (void)cases.DBRead("E1"); }, "read");
  CItem blocked = cases.DBNew("E1");
  ExpectLocked([&] { blocked.DBWrite(); }, "write");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(LockedInTransactions, LocksOfOneFileLeaveTheOthersFreeAndTheOwnersOwnAreNoObstacle) {
  (void)owner->DBOpen("ELTSPARTEMP").ReadLocked("E1");
  {
    Transaction t(*reader);
    CItem other = reader->DBOpen("AUTRE").DBNew("E1");  // same key, another file
    other.setItem(1, "A");
    other.DBWrite();
    EXPECT_EQ(reader->DBOpen("AUTRE").DBRead("E1").Item(1), "A");
    ExpectLocked([&] { (void)reader->DBOpen("ELTSPARTEMP").DBRead("E1"); },
                 "read after another file");
    t.Commit();
  }
  // The owner works inside its own transaction on the record it locked.
  Transaction t(*owner);
  CItem mine = owner->DBOpen("ELTSPARTEMP").DBRead("E1");
  mine.setItem(1, "44");
  mine.DBWrite();  // ends the lock with the commit
  t.Commit();
  EXPECT_EQ(reader->DBOpen("ELTSPARTEMP").DBRead("E1").Item(1), "44");
}

TEST_F(LockedInTransactions, ALockOnAKeyNotYetWrittenHoldsOffItsReaders) {
  DBFile mine = owner->DBOpen("ELTSPARTEMP");
  DBFile theirs = reader->DBOpen("ELTSPARTEMP");
  (void)mine.ReadLocked("NEW");
  ExpectLocked([&] { (void)theirs.DBRead("NEW"); }, "read outside a transaction");
  {
    Transaction t(*reader);
    ExpectLocked([&] { (void)theirs.DBRead("NEW"); }, "read inside a transaction");
  }
  CItem created = mine.DBNew("NEW");
  created.setItem(1, "01");
  created.DBWrite();  // creates the record and ends the lock
  EXPECT_EQ(theirs.DBRead("NEW").Item(1), "01");
  EXPECT_EQ(theirs.DBRead("NONE").Item(), "") << "a missing, unlocked key reads empty";
}

}  // namespace
}  // namespace dba
