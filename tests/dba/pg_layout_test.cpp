// A database of the first server layout, whose primary keys held keys and
// index values whole: opening it brings it to the current layout in one
// transaction, long keys and values included, or changes nothing and says
// why.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "dba/database.h"
#include "test_database.h"

namespace dba {
namespace {

using testing::ScratchDatabase;

const auto Sql = morvanel::testing::PgSql;

// The tables as the first layout made them, holding a record whose key and
// indexed value (1,500 bytes each) that layout took whole.
void PlantFirstLayout(const std::string& uri, const std::string& key, const std::string& value) {
  const std::string sql =
      "CREATE TABLE mv_meta(format integer NOT NULL);"
      "CREATE TABLE mv_files(id bigserial PRIMARY KEY, name bytea NOT NULL UNIQUE);"
      "CREATE TABLE mv_records(file_id bigint NOT NULL REFERENCES mv_files(id) ON DELETE CASCADE,"
      " key bytea NOT NULL, body bytea NOT NULL, PRIMARY KEY(file_id, key));"
      "CREATE TABLE mv_indexes(file_id bigint NOT NULL REFERENCES mv_files(id) ON DELETE CASCADE,"
      " attr integer NOT NULL, PRIMARY KEY(file_id, attr));"
      "CREATE TABLE mv_index_entries(file_id bigint NOT NULL REFERENCES mv_files(id)"
      " ON DELETE CASCADE, attr integer NOT NULL, value bytea NOT NULL, key bytea NOT NULL,"
      " PRIMARY KEY(file_id, attr, value, key));"
      "CREATE TABLE mv_locks(file_id bigint NOT NULL REFERENCES mv_files(id) ON DELETE CASCADE,"
      " key bytea NOT NULL, owner bigint NOT NULL, info text NOT NULL, PRIMARY KEY(file_id, key));"
      "INSERT INTO mv_meta VALUES(1);"
      "INSERT INTO mv_files(name) VALUES('F'::bytea);"
      "INSERT INTO mv_indexes SELECT id, 1 FROM mv_files;"
      "INSERT INTO mv_records SELECT id, convert_to('" +
      key + "', 'UTF8'), convert_to('" + value +
      "', 'UTF8') FROM mv_files;"
      "INSERT INTO mv_index_entries SELECT id, 1, convert_to('" +
      value + "', 'UTF8'), convert_to('" + key + "', 'UTF8') FROM mv_files;";
  ASSERT_EQ(Sql(uri, sql), "");
}

TEST(FirstLayout, IsUpgradedOnOpeningWithItsLongKeysAndValues) {
  ASSERT_TRUE(testing::OnPostgres());
  ScratchDatabase scratch;
  const std::string key(1500, 'K'), value(1500, 'V');
  PlantFirstLayout(scratch.path(), key, value);

  auto db = Database::Open(scratch.path());
  EXPECT_EQ(Sql(scratch.path(), "SELECT max(format) FROM mv_meta"), "2");
  const DBFile f = db->DBOpen("F");
  EXPECT_EQ(f.DBRead(key).Item(1), value);
  EXPECT_EQ(db->DBSelect("SSELECT F AVEC 1 = \"" + value + "\"").Item(), key);
  EXPECT_TRUE(db->Check().empty());
  const std::string huge(std::size_t{1} << 20, 'H');
  CItem r = f.DBNew(huge);
  r.setItem(1, huge);
  r.DBWrite();
  EXPECT_EQ(db->DBSelect("SSELECT F AVEC 1 = \"" + huge + "\"").Item(), huge);
}

TEST(FirstLayout, ThatCannotBeUpgradedIsRefusedAndLeftAsItWas) {
  ASSERT_TRUE(testing::OnPostgres());
  const std::string role = "mv_reader_" + std::to_string(getpid());
  struct Obstacle {
    std::string setup, user, cleanup;
  };
  const Obstacle obstacles[] = {
      // A role that may read and write the tables but not change them.
      {"CREATE ROLE " + role +
           " LOGIN; GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO " + role,
       role, "DROP OWNED BY " + role + "; DROP ROLE " + role},
      // The owner, meeting a name taken once the records are done.
      {"CREATE TABLE mv_locks_key(x integer)", "", ""},
  };
  for (const Obstacle& o : obstacles) {
    ScratchDatabase scratch;
    PlantFirstLayout(scratch.path(), "1", "V");
    ASSERT_EQ(Sql(scratch.path(), o.setup), "");
    const std::string separator = scratch.path().find('?') == std::string::npos ? "?" : "&";
    const std::string uri =
        o.user.empty() ? scratch.path() : scratch.path() + separator + "user=" + o.user;
    try {
      (void)Database::Open(uri);
      ADD_FAILURE() << "opened " << o.setup;
    } catch (const DbaError& e) {
      EXPECT_NE(std::string(e.what()).find("format ancien (1)"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("rien n'a changé"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Sql(scratch.path(), "SELECT max(format) FROM mv_meta"), "1");
    EXPECT_EQ(
        Sql(scratch.path(), "SELECT count(*) FROM pg_constraint WHERE conname = 'mv_records_pkey'"),
        "1");
    if (!o.cleanup.empty()) {
      EXPECT_EQ(Sql(scratch.path(), o.cleanup), "");
    }
  }
}

}  // namespace
}  // namespace dba
