// What only a database server can do to a session: drop it (a workstation
// killed or cut off the network, as the server sees it). Its record locks
// must stop blocking the others, and the dropped session must report its
// failure rather than lose a write.
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
    holder = scratch.Open();
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

TEST_F(DroppedSession, ItsLockNoLongerBlocksAndItsNextWriteFails) {
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
  // AND the dropped session's write is reported, not lost in silence
  mine.setItem(1, "99");
  EXPECT_EQ(ErrorOf([&] { mine.DBWrite(); }), kErrStorage);
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

}  // namespace
}  // namespace dba
