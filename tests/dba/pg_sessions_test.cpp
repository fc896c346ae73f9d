// What only a database server can do to a session: drop it (a workstation
// killed or cut off the network, a server restart). Its record locks must
// stop blocking the others; the dropped session goes on over a new one
// outside a transaction, and inside one reports the loss rather than keep
// half of it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dba/database.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::ScratchDatabase;

constexpr OpenOptions kShortWait{.create = false, .busyTimeoutMs = 5000, .lockTimeoutMs = 100};

const auto Sql = morvanel::testing::PgSql;

std::uint32_t ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const DbaError& e) {
    return e.number();
  }
  return 0;
}

class DroppedSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::OnPostgres());
    holder = scratch.Open({.create = true, .busyTimeoutMs = 5000, .lockTimeoutMs = 100});
    holder->CreateFile("ELTSPARTEMP");
    CItem r = holder->DBOpen("ELTSPARTEMP").DBNew("E1");
    r.setItem(1, "07");
    r.DBWrite();
    other = Database::Open(scratch.path(), kShortWait);
  }

  ScratchDatabase scratch;
  std::shared_ptr<Database> holder;
  std::shared_ptr<Database> other;
};

TEST_F(DroppedSession, ItsLockNoLongerBlocksAndItsNextWriteMeetsTheOthersLock) {
  // GIVEN a record locked by the holder, which blocks the other session
  CItem mine = holder->DBOpen("ELTSPARTEMP").ReadLocked("E1");
  DBFile theirs = other->DBOpen("ELTSPARTEMP");
  EXPECT_EQ(ErrorOf([&] { (void)theirs.DBRead("E1"); }), kErrRecordLocked);
  // WHEN the server drops the holder's session (found by the lock it owns)
  EXPECT_EQ(Sql(scratch.path(),
                "SELECT pg_terminate_backend(k.pid) FROM mv_locks l JOIN pg_locks k"
                " ON k.locktype = 'advisory' AND k.objsubid = 1"
                " AND k.classid::int8 = ((l.owner >> 32) & 4294967295)"
                " AND k.objid::int8 = (l.owner & 4294967295)"),
            "t");
  // THEN the lock row is still there but blocks nobody
  EXPECT_EQ(Sql(scratch.path(), "SELECT count(*) FROM mv_locks"), "1");
  EXPECT_EQ(theirs.DBRead("E1").Item(1), "07");
  EXPECT_EQ(theirs.ReadLocked("E1").Item(1), "07");
  // AND the dropped session's write, over a new session, meets the lock
  // the other took meanwhile
  mine.setItem(1, "99");
  EXPECT_EQ(ErrorOf([&] { mine.DBWrite(); }), kErrRecordLocked);
  EXPECT_EQ(theirs.DBRead("E1").Item(1), "07");
}

TEST_F(DroppedSession, ARowOfASessionLongGoneIsIgnoredAndTakenOver) {
  EXPECT_EQ(Sql(scratch.path(),
                "INSERT INTO mv_locks(file_id, key, owner, info)"
                " SELECT id, 'E1'::bytea, 424242, 'gone@elsewhere' FROM mv_files"),
            "");
  DBFile theirs = other->DBOpen("ELTSPARTEMP");
  EXPECT_EQ(theirs.DBRead("E1").Item(1), "07");
  EXPECT_EQ(theirs.ReadLocked("E1").Item(1), "07");
  auto third = Database::Open(scratch.path(), kShortWait);
  EXPECT_EQ(ErrorOf([&] { (void)third->DBOpen("ELTSPARTEMP").DBRead("E1"); }), kErrRecordLocked)
      << "the lock is the live session's now";
}

TEST_F(DroppedSession, ReadsSelectionsAndSavesGoOnOverANewSession) {
  DBFile mine = holder->DBOpen("ELTSPARTEMP");
  DropServerSession(*holder);
  EXPECT_EQ(mine.DBRead("E1").Item(1), "07");
  DropServerSession(*holder);
  CItem r = mine.DBNew("E2");
  r.setItem(1, "08");
  r.DBWrite();
  EXPECT_EQ(other->DBOpen("ELTSPARTEMP").DBRead("E2").Item(1), "08");
  DropServerSession(*holder);
  int count = 0;
  (void)holder->DBSelect(
      "SSELECT ELTSPARTEMP\xFE"
      "ELTSPARTEMP\xFE"
      "0",
      "", &count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(ErrorOf([] {
              auto sqlite = Database::Open(::testing::TempDir() + "/d.mvdb", {.create = true});
              DropServerSession(*sqlite);
            }),
            kErrBadArgument);
}

TEST_F(DroppedSession, ItsRecordLockHoldsAgainOnceItIsBack) {
  CItem mine = holder->DBOpen("ELTSPARTEMP").ReadLocked("E1");
  DropServerSession(*holder);
  (void)holder->Files();  // any operation brings the session back
  EXPECT_EQ(ErrorOf([&] { (void)other->DBOpen("ELTSPARTEMP").DBRead("E1"); }), kErrRecordLocked);
  mine.setItem(1, "99");
  mine.DBWrite();
  EXPECT_EQ(other->DBOpen("ELTSPARTEMP").DBRead("E1").Item(1), "99");
}

TEST_F(DroppedSession, InsideATransferBatchTheBatchFailsWholeThenTheNextOneGoesOn) {
  DBFile mine = holder->DBOpen("ELTSPARTEMP");
  auto write = [&](const char* key) {
    CItem r = mine.DBNew(key);
    r.setItem(1, "08");
    r.DBWrite();
  };
  {
    Transaction t(*holder);
    write("E2");
    DropServerSession(*holder);
    EXPECT_EQ(ErrorOf([&] { write("E3"); }), kErrStorage);
    // No new session while the transaction is open: its writes would land
    // outside it.
    EXPECT_EQ(ErrorOf([&] { write("E4"); }), kErrStorage);
    EXPECT_EQ(ErrorOf([&] { t.Commit(); }), kErrStorage);
  }
  DBFile theirs = other->DBOpen("ELTSPARTEMP");
  for (const char* key : {"E2", "E3", "E4"}) EXPECT_EQ(theirs.DBRead(key).Item(), "") << key;
  Transaction t(*holder);
  write("E2");
  t.Commit();
  EXPECT_EQ(theirs.DBRead("E2").Item(1), "08");
}

}  // namespace
}  // namespace dba
