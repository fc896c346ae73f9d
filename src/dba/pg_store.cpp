// The PostgreSQL connection of a database (see pg_store.h). Database layer.
#include "dba/pg_store.h"

#include <endian.h>
#include <libpq-fe.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "dba/dba_error.h"
#include "dba/redact.h"

namespace dba::pg {

namespace {

// The layout of our tables, recorded in mv_meta: 1 held keys and values
// whole in its primary keys, 2 indexes their stored forms.
constexpr int kFormatVersion = 2;

// Whether the lock row `l` belongs to another session that still lives.
// A session holds, for its whole life, a session-level advisory lock on its
// owner number (PgDatabase); the server drops it when the session ends, for
// whatever reason, so a row of a dead session is never mistaken for a live
// one. pg_locks is readable by every role, unlike most of pg_stat_activity.
#define MV_BLOCKED(token)                                                              \
  "CASE WHEN l.owner IS NULL OR l.owner = " token                                      \
  " THEN false ELSE EXISTS(SELECT 1 FROM pg_locks k WHERE k.locktype = 'advisory'"     \
  " AND k.objsubid = 1 AND k.granted"                                                  \
  " AND k.database = (SELECT oid FROM pg_database WHERE datname = current_database())" \
  " AND k.classid::int8 = ((l.owner >> 32) & 4294967295)"                              \
  " AND k.objid::int8 = (l.owner & 4294967295)) END"

// A key column `col` holding the key bound as `param`: through the index
// on its stored form, then the whole bytes.
#define MV_KEY_IS(col, param) MV_STORED(col) " = " MV_STORED(param) " AND " col " = " param

// The bounds, on stored forms, of the keys or values from `from` (included)
// to `to` (excluded), both bound parameters. Below `to` when it is short;
// a long `to` bounds the stored forms by its head followed by more 0xFF
// bytes than a hash holds. Rows between them are checked on the whole
// bytes afterwards.
#define MV_STORED_FROM(param) "substr(" param ", 1, " MV_HEAD ")"
#define MV_STORED_BELOW(param)                                                         \
  "(CASE WHEN length(" param ") > " MV_HEAD " THEN substr(" param ", 1, " MV_HEAD      \
  ")"                                                                                  \
  " || '\\xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff'::bytea" \
  " ELSE " param " END)"

// The whole key of an index entry's stored key `col`: itself when short,
// which keeps a keys-only read within the index; a long one looked up.
#define MV_WHOLE_KEY(col)                                            \
  "COALESCE(CASE WHEN length(" col ") > " MV_HEAD                    \
  " THEN (SELECT w.key FROM mv_records w WHERE w.file_id = $1::int8" \
  " AND " MV_STORED("w.key") " = " col ") END, " col ")"

#define MV_ENTRIES_GONE(file, key, attrs, values)                          \
  "DELETE FROM mv_index_entries e USING unnest(" attrs "::int4[], " values \
  "::bytea[])"                                                             \
  " AS u(attr, value) WHERE e.file_id = " file                             \
  "::int8 AND e.attr = u.attr"                                             \
  " AND e.value = " MV_STORED("u.value") " AND e.key = " MV_STORED(key "::bytea")

constexpr const char* kSql[] = {
    "SELECT id FROM mv_files WHERE name = $1::bytea",
    "INSERT INTO mv_files(name) VALUES($1::bytea) ON CONFLICT (name) DO NOTHING RETURNING id",
    // Records, index entries, index definitions and locks go with the file.
    "DELETE FROM mv_files WHERE name = $1::bytea RETURNING id",
    "SELECT name FROM mv_files ORDER BY name",
    "SELECT attr FROM mv_indexes WHERE file_id = $1::int8 ORDER BY attr",
    "INSERT INTO mv_indexes(file_id, attr) VALUES($1::int8, $2::int4) ON CONFLICT DO NOTHING"
    " RETURNING 1",
    // kRead: always one row; the body is NULL for a missing record.
    "SELECT r.body, " MV_BLOCKED("$3::int8") " FROM (SELECT 1) AS one"
    " LEFT JOIN mv_records r ON r.file_id = $1::int8 AND " MV_KEY_IS("r.key", "$2::bytea")
    " LEFT JOIN mv_locks l ON l.file_id = $1::int8 AND " MV_KEY_IS("l.key", "$2::bytea"),
    // kWrite, for a file without indexes: the lock check, the write and the
    // end of the writer's own lock in one statement.
    "WITH cur AS (SELECT " MV_BLOCKED("$4::int8") " AS blocked FROM (SELECT 1) AS one"
    " LEFT JOIN mv_locks l ON l.file_id = $1::int8 AND " MV_KEY_IS("l.key", "$2::bytea") "),"
    " up AS (INSERT INTO mv_records(file_id, key, body) SELECT $1::int8, $2::bytea, $3::bytea"
    " FROM cur WHERE NOT cur.blocked ON CONFLICT (file_id, " MV_STORED("key") ")"
    " DO UPDATE SET body = excluded.body),"
    " rel AS (DELETE FROM mv_locks WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea")
    " AND owner = $4::int8)"
    " SELECT blocked FROM cur",
    // kWriteIndexed: the lock was checked by kRead under the write lock; the
    // entries gone and the entries new are disjoint.
    "WITH up AS (INSERT INTO mv_records(file_id, key, body) VALUES($1::int8, $2::bytea, $3::bytea)"
    " ON CONFLICT (file_id, " MV_STORED("key") ") DO UPDATE SET body = excluded.body),"
    " rel AS (DELETE FROM mv_locks WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea")
    " AND owner = $4::int8),"
    " gone AS (" MV_ENTRIES_GONE("$1", "$2", "$5", "$6") ")"
    " INSERT INTO mv_index_entries(file_id, attr, value, key)"
    " SELECT $1::int8, u.attr, " MV_STORED("u.value") ", " MV_STORED("$2::bytea")
    " FROM unnest($7::int4[], $8::bytea[]) AS u(attr, value)"
    " ON CONFLICT DO NOTHING",
    "WITH rel AS (DELETE FROM mv_locks WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea")
    " AND owner = $3::int8),"
    " gone AS (" MV_ENTRIES_GONE("$1", "$2", "$4", "$5") ")"
    " DELETE FROM mv_records WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea")
    " RETURNING 1",
    "DELETE FROM mv_locks WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea")
    " AND owner = $3::int8",
    // kReadLocked: the body (NULL when missing), and whether another live
    // session holds the lock; the lock is ours when it does not.
    "WITH cur AS (SELECT " MV_BLOCKED("$3::int8") " AS blocked FROM (SELECT 1) AS one"
    " LEFT JOIN mv_locks l ON l.file_id = $1::int8 AND " MV_KEY_IS("l.key", "$2::bytea") "),"
    " take AS (INSERT INTO mv_locks(file_id, key, owner, info) SELECT $1::int8, $2::bytea, $3::int8,"
    " $4::text FROM cur WHERE NOT cur.blocked ON CONFLICT (file_id, " MV_STORED("key") ")"
    " DO UPDATE SET owner = excluded.owner, info = excluded.info)"
    " SELECT (SELECT body FROM mv_records WHERE file_id = $1::int8 AND "
    MV_KEY_IS("key", "$2::bytea") "), blocked FROM cur",
    "DELETE FROM mv_locks WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea")
    " RETURNING 1",
    "DELETE FROM mv_locks WHERE owner = $1::int8",
    "SELECT key, body FROM mv_records WHERE file_id = $1::int8 ORDER BY " MV_STORED("key"),
    "SELECT key, body FROM mv_records WHERE file_id = $1::int8"
    " AND " MV_STORED("key") " >= " MV_STORED_FROM("$2::bytea")
    " AND " MV_STORED("key") " < " MV_STORED_BELOW("$3::bytea")
    " AND key >= $2::bytea AND key < $3::bytea ORDER BY " MV_STORED("key"),
    // kIndexEqual and kIndexRange read each record by its own lookup: as a
    // join, a generic plan (planned once for any value) reads every record
    // of the file to hash it (LIMIT keeps the planner from that join).
    "SELECT r.key, r.body FROM mv_index_entries e,"
    " LATERAL (SELECT w.key, w.body FROM mv_records w WHERE w.file_id = $1::int8"
    " AND " MV_STORED("w.key") " = e.key LIMIT 1) AS r"
    " WHERE e.file_id = $1::int8 AND e.attr = $2::int4 AND e.value = " MV_STORED("$3::bytea")
    " ORDER BY e.key",
    "SELECT " MV_WHOLE_KEY("e.key") " FROM mv_index_entries e WHERE e.file_id = $1::int8"
    " AND e.attr = $2::int4 AND e.value = " MV_STORED("$3::bytea") " ORDER BY e.key",
    // Several values of a record may share the prefix: each record once.
    // A long prefix narrows the candidates only: Select checks them. Each
    // record is read by its own lookup (LIMIT keeps the planner from a hash
    // join, which a generic plan, blind to the prefix, would take over a
    // scan of the whole file).
    "SELECT r.key, r.body FROM (SELECT DISTINCT key FROM mv_index_entries WHERE file_id = $1::int8"
    " AND attr = $2::int4 AND value >= " MV_STORED_FROM("$3::bytea")
    " AND value < " MV_STORED_BELOW("$4::bytea") ") AS d,"
    " LATERAL (SELECT w.key, w.body FROM mv_records w WHERE w.file_id = $1::int8"
    " AND " MV_STORED("w.key") " = d.key LIMIT 1) AS r ORDER BY d.key",
    "SELECT " MV_WHOLE_KEY("d.key") " FROM (SELECT DISTINCT key FROM mv_index_entries"
    " WHERE file_id = $1::int8 AND attr = $2::int4 AND value >= " MV_STORED_FROM("$3::bytea")
    " AND value < " MV_STORED_BELOW("$4::bytea") ") AS d ORDER BY d.key",
    "SELECT body FROM mv_records WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea"),
    "INSERT INTO mv_index_entries(file_id, attr, value, key) SELECT $1::int8, $2::int4, "
    MV_STORED("u.value") ", " MV_STORED("u.key")
    " FROM unnest($3::bytea[], $4::bytea[]) AS u(value, key) ON CONFLICT DO NOTHING",
    // kReadPresent: no row for a missing record (kReadAny then tells whether
    // its key is locked), the body straight from its row otherwise, and the
    // lock's owner if any (kOwnerAlive judges it: rarely needed, and the
    // look at pg_locks would slow every read).
    "SELECT r.body, (SELECT l.owner FROM mv_locks l WHERE l.file_id = $1::int8"
    " AND " MV_KEY_IS("l.key", "$2::bytea") ") FROM mv_records r WHERE r.file_id = $1::int8"
    " AND " MV_KEY_IS("r.key", "$2::bytea"),
    // kReadAny: one row always, the body NULL for a missing record.
    "SELECT (SELECT body FROM mv_records WHERE file_id = $1::int8 AND "
    MV_KEY_IS("key", "$2::bytea") "),"
    " (SELECT owner FROM mv_locks WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea") ")",
    "SELECT EXISTS(SELECT 1 FROM pg_locks k WHERE k.locktype = 'advisory' AND k.objsubid = 1"
    " AND k.granted"
    " AND k.database = (SELECT oid FROM pg_database WHERE datname = current_database())"
    " AND k.classid::int8 = (($1::int8 >> 32) & 4294967295)"
    " AND k.objid::int8 = ($1::int8 & 4294967295))",
    "INSERT INTO mv_records(file_id, key, body) VALUES($1::int8, $2::bytea, $3::bytea)"
        " ON CONFLICT (file_id, " MV_STORED("key") ") DO UPDATE SET body = excluded.body",
    // kCatalog: every file with its indexed attributes (NULL for none).
    "SELECT f.name, f.id, i.attr FROM mv_files f LEFT JOIN mv_indexes i ON i.file_id = f.id"
    " ORDER BY f.id, i.attr",
    // kReadMany: one row per key given, in their order; the body NULL for a
    // missing record, and the lock's owner if any (as kReadPresent).
    "SELECT r.body, l.owner FROM unnest($2::bytea[]) WITH ORDINALITY AS u(key, n)"
    " LEFT JOIN mv_records r ON r.file_id = $1::int8 AND " MV_KEY_IS("r.key", "u.key")
    " LEFT JOIN mv_locks l ON l.file_id = $1::int8 AND " MV_KEY_IS("l.key", "u.key")
    " ORDER BY u.n",
    // kDeletePlain, for a file without indexes: the lock check, the delete
    // and the end of the deleter's own lock in one statement; whether
    // another session's lock blocked it, and whether a record went.
    "WITH cur AS (SELECT " MV_BLOCKED("$3::int8") " AS blocked FROM (SELECT 1) AS one"
    " LEFT JOIN mv_locks l ON l.file_id = $1::int8 AND " MV_KEY_IS("l.key", "$2::bytea") "),"
    " del AS (DELETE FROM mv_records WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea")
    " AND NOT (SELECT blocked FROM cur) RETURNING 1),"
    " rel AS (DELETE FROM mv_locks WHERE file_id = $1::int8 AND " MV_KEY_IS("key", "$2::bytea")
    " AND owner = $3::int8)"
    " SELECT blocked, EXISTS(SELECT 1 FROM del) FROM cur",
    // kWriteIndexedFree: kWriteIndexed where no session holds a lock in the
    // file (inside a Transaction, under the write lock): no lock to end.
    "WITH up AS (INSERT INTO mv_records(file_id, key, body) VALUES($1::int8, $2::bytea, $3::bytea)"
    " ON CONFLICT (file_id, " MV_STORED("key") ") DO UPDATE SET body = excluded.body),"
    " gone AS (" MV_ENTRIES_GONE("$1", "$2", "$4", "$5") ")"
    " INSERT INTO mv_index_entries(file_id, attr, value, key)"
    " SELECT $1::int8, u.attr, " MV_STORED("u.value") ", " MV_STORED("$2::bytea")
    " FROM unnest($6::int4[], $7::bytea[]) AS u(attr, value)"
    " ON CONFLICT DO NOTHING",
    // kRewrite and kRewriteMovingEntry: the two usual rewrites of a record
    // known to exist, where kWriteIndexedFree applies, in plain updates: no
    // arrays, no speculative insertion, and no foreign key to check (the
    // file stays the same). kRewrite changes no index entry;
    // kRewriteMovingEntry turns entry $5 of attribute $4 into $6, unless
    // $6 is there already. Both report the rows they changed: none means
    // the record or the entry was not as the caller knew it, and
    // kWriteIndexedFree must do the write.
    "UPDATE mv_records SET body = $3::bytea WHERE file_id = $1::int8 AND "
    MV_KEY_IS("key", "$2::bytea"),
    "WITH up AS (UPDATE mv_records SET body = $3::bytea WHERE file_id = $1::int8 AND "
    MV_KEY_IS("key", "$2::bytea") " RETURNING 1)"
    " UPDATE mv_index_entries e SET value = " MV_STORED("$6::bytea")
    " WHERE e.file_id = $1::int8 AND e.attr = $4::int4 AND e.value = " MV_STORED("$5::bytea")
    " AND e.key = " MV_STORED("$2::bytea") " AND EXISTS(SELECT 1 FROM up)"
    " AND NOT EXISTS(SELECT 1 FROM mv_index_entries n WHERE n.file_id = $1::int8"
    " AND n.attr = $4::int4 AND n.value = " MV_STORED("$6::bytea")
    " AND n.key = " MV_STORED("$2::bytea") ")",
    // kReadManyBodies: kReadMany where no other session can hold a lock in
    // the file (inside a Transaction, under the write lock): no lock to look at.
    "SELECT r.body FROM unnest($2::bytea[]) WITH ORDINALITY AS u(key, n)"
    " LEFT JOIN mv_records r ON r.file_id = $1::int8 AND " MV_KEY_IS("r.key", "u.key")
    " ORDER BY u.n",
};
static_assert(std::size(kSql) == static_cast<std::size_t>(Sql::kCount));

// bytea everywhere bytes are stored: keys, bodies and names may hold mark
// bytes that are not UTF-8, and bytea compares byte by byte, as SQLite does.
// Keys and values are indexed by their stored form (MV_STORED): a btree row
// holds at most about 2.7 kB, and they may be of any length.
constexpr const char* kSchema =
    "CREATE TABLE mv_meta(format integer NOT NULL);"
    "CREATE TABLE mv_files(id bigserial PRIMARY KEY, name bytea NOT NULL UNIQUE);"
    "CREATE TABLE mv_records(file_id bigint NOT NULL REFERENCES mv_files(id) ON DELETE CASCADE,"
    " key bytea NOT NULL, body bytea NOT NULL);"
    "CREATE UNIQUE INDEX mv_records_key ON mv_records(file_id, " MV_STORED("key") ");"
    "CREATE TABLE mv_indexes(file_id bigint NOT NULL REFERENCES mv_files(id) ON DELETE CASCADE,"
    " attr integer NOT NULL, PRIMARY KEY(file_id, attr));"
    "CREATE TABLE mv_index_entries(file_id bigint NOT NULL REFERENCES mv_files(id)"
    " ON DELETE CASCADE, attr integer NOT NULL, value bytea NOT NULL, key bytea NOT NULL,"
    " PRIMARY KEY(file_id, attr, value, key));"
    "CREATE TABLE mv_locks(file_id bigint NOT NULL REFERENCES mv_files(id) ON DELETE CASCADE,"
    " key bytea NOT NULL, owner bigint NOT NULL, info text NOT NULL);"
    "CREATE UNIQUE INDEX mv_locks_key ON mv_locks(file_id, " MV_STORED("key") ");";

// From the first layout, whose primary keys held keys and values whole (and
// refused them past about 2.7 kB), to the stored forms. One transaction.
constexpr const char* kFromFormat1 =
    "ALTER TABLE mv_records DROP CONSTRAINT mv_records_pkey;"
    "CREATE UNIQUE INDEX mv_records_key ON mv_records(file_id, " MV_STORED("key") ");"
    "ALTER TABLE mv_locks DROP CONSTRAINT mv_locks_pkey;"
    "CREATE UNIQUE INDEX mv_locks_key ON mv_locks(file_id, " MV_STORED("key") ");"
    "UPDATE mv_index_entries SET value = " MV_STORED("value") ", key = " MV_STORED("key")
    " WHERE length(value) > " MV_HEAD " OR length(key) > " MV_HEAD ";"
    "UPDATE mv_meta SET format = 2;";

constexpr unsigned kInt4Oid = 23;
constexpr unsigned kByteaOid = 17;

void PutInt32(std::string& out, std::int32_t v) {
  const std::uint32_t be = htobe32(static_cast<std::uint32_t>(v));
  out.append(reinterpret_cast<const char*>(&be), 4);
}

// A libpq message without its trailing newline.
std::string Trimmed(const char* message) {
  std::string m = message ? message : "";
  while (!m.empty() && (m.back() == '\n' || m.back() == ' ')) m.pop_back();
  return m;
}

}  // namespace

std::string BeginWriteAndLook(std::int64_t owner) {
  const std::string o = std::to_string(owner) + "::int8";
  return std::string(kBeginWrite) +
         "SELECT (SELECT string_agg(file_id || ':' || attr || ',', '') FROM mv_indexes),"
         " (SELECT string_agg(DISTINCT l.file_id || ',', '') FROM mv_locks l WHERE "
         "l.owner <> " +
         o +
         " AND EXISTS(SELECT 1 FROM pg_locks k WHERE k.locktype = 'advisory'"
         " AND k.objsubid = 1 AND k.granted"
         " AND k.database = (SELECT oid FROM pg_database WHERE datname = current_database())"
         " AND k.classid::int8 = ((l.owner >> 32) & 4294967295)"
         " AND k.objid::int8 = (l.owner & 4294967295)))";
}

Params& Params::Add(std::string_view v) {
  if (count_ == kMax) throw DbaError(kErrStorage, "Trop de paramètres pour une requête.");
  values_[count_] = v.data() ? v.data() : "";
  lengths_[count_] = static_cast<int>(v.size());
  formats_[count_] = 1;
  ++count_;
  return *this;
}

Params& Params::Own(std::string encoded) {
  if (count_ == kMax) throw DbaError(kErrStorage, "Trop de paramètres pour une requête.");
  kinds_[count_] = 'a';
  owned_[count_] = std::move(encoded);
  return Add(owned_[count_]);
}

Params& Params::Int(std::int64_t v) {
  if (count_ == kMax) throw DbaError(kErrStorage, "Trop de paramètres pour une requête.");
  kinds_[count_] = '8';
  const std::uint64_t be = htobe64(static_cast<std::uint64_t>(v));
  std::memcpy(numbers_[count_], &be, 8);
  return Add(std::string_view(numbers_[count_], 8));
}

Params& Params::Int4(std::int32_t v) {
  if (count_ == kMax) throw DbaError(kErrStorage, "Trop de paramètres pour une requête.");
  kinds_[count_] = '4';
  const std::uint32_t be = htobe32(static_cast<std::uint32_t>(v));
  std::memcpy(numbers_[count_], &be, 4);
  return Add(std::string_view(numbers_[count_], 4));
}

Params& Params::Bytes(std::string_view v) {
  if (count_ < kMax) kinds_[count_] = 'b';
  return Add(v);
}

std::string Params::Literal(int i) const {
  const std::string_view v(values_[i], static_cast<std::size_t>(lengths_[i]));
  switch (kinds_[i]) {
    case '8': {
      std::uint64_t be;
      std::memcpy(&be, v.data(), 8);
      return std::to_string(static_cast<std::int64_t>(be64toh(be))) + "::int8";
    }
    case '4': {
      std::uint32_t be;
      std::memcpy(&be, v.data(), 4);
      return std::to_string(static_cast<std::int32_t>(be32toh(be))) + "::int4";
    }
    case 'b': {
      static constexpr char kHex[] = "0123456789abcdef";
      std::string s = "'\\x";
      s.reserve(v.size() * 2 + 12);
      for (const unsigned char ch : v) {
        s.push_back(kHex[ch >> 4]);
        s.push_back(kHex[ch & 15]);
      }
      return s + "'::bytea";
    }
    default: throw std::logic_error("no literal for an array parameter");
  }
}

namespace {
// The binary form of a one-dimensional array: dimensions, element type,
// then each element as its length and bytes.
template <class Each>
std::string Array(std::size_t n, unsigned elementOid, Each each) {
  std::string s;
  PutInt32(s, n == 0 ? 0 : 1);
  PutInt32(s, 0);  // no NULL elements
  PutInt32(s, static_cast<std::int32_t>(elementOid));
  if (n == 0) return s;
  PutInt32(s, static_cast<std::int32_t>(n));
  PutInt32(s, 1);  // lower bound
  for (std::size_t i = 0; i < n; ++i) each(s, i);
  return s;
}
}  // namespace

Params& Params::Int4Array(const std::vector<std::int32_t>& v) {
  return Own(Array(v.size(), kInt4Oid, [&](std::string& s, std::size_t i) {
    PutInt32(s, 4);
    PutInt32(s, v[i]);
  }));
}

Params& Params::BytesArray(const std::vector<std::string_view>& v) {
  return Own(Array(v.size(), kByteaOid, [&](std::string& s, std::size_t i) {
    PutInt32(s, static_cast<std::int32_t>(v[i].size()));
    s.append(v[i]);
  }));
}

Result::~Result() {
  if (r_) PQclear(r_);
}

int Result::Rows() const { return PQntuples(r_); }
bool Result::IsNull(int row, int col) const { return PQgetisnull(r_, row, col) != 0; }
bool Result::Text(int col) const { return PQfformat(r_, col) == 0; }

std::string_view Result::Bytes(int row, int col) const {
  const std::string_view raw(PQgetvalue(r_, row, col),
                             static_cast<std::size_t>(PQgetlength(r_, row, col)));
  if (!Text(col) || PQftype(r_, col) != kByteaOid) return raw;
  auto [at, fresh] = decoded_.try_emplace({row, col});
  if (fresh) {  // "\x" and two hex digits a byte
    auto nibble = [](char h) { return h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10; };
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
      at->second.push_back(static_cast<char>(nibble(raw[i]) << 4 | nibble(raw[i + 1])));
    }
  }
  return at->second;
}

std::int64_t Result::Int(int row, int col) const {
  const char* p = PQgetvalue(r_, row, col);
  if (Text(col)) return PQgetisnull(r_, row, col) ? 0 : std::strtoll(p, nullptr, 10);
  switch (PQgetlength(r_, row, col)) {
    case 8: {
      std::uint64_t v;
      std::memcpy(&v, p, 8);
      return static_cast<std::int64_t>(be64toh(v));
    }
    case 4: {
      std::uint32_t v;
      std::memcpy(&v, p, 4);
      return static_cast<std::int32_t>(be32toh(v));
    }
    case 2: {
      std::uint16_t v;
      std::memcpy(&v, p, 2);
      return static_cast<std::int16_t>(be16toh(v));
    }
    default: return 0;  // NULL
  }
}

bool Result::Bool(int row, int col) const {
  if (Text(col)) return PQgetvalue(r_, row, col)[0] == 't';
  return PQgetlength(r_, row, col) == 1 && PQgetvalue(r_, row, col)[0] != 0;
}

std::string_view Result::Status() const { return PQcmdStatus(r_); }

std::int64_t Result::Changed() const {
  const char* n = PQcmdTuples(r_);
  return *n ? std::strtoll(n, nullptr, 10) : 0;
}

std::unique_ptr<Connection> Connection::Open(const std::string& uri, bool create,
                                             int busyTimeoutMs) {
  PGconn* raw = PQconnectdb(uri.c_str());
  std::unique_ptr<Connection> c(new Connection(raw));
  if (raw == nullptr || PQstatus(raw) != CONNECTION_OK) {
    throw DbaError(kErrDatabaseNotFound, "La base de données « " + RedactSecrets(uri) +
                                             " » ne s'ouvre pas : " +
                                             Trimmed(raw ? PQerrorMessage(raw) : "mémoire") + ".");
  }
  c->busyTimeoutMs_ = std::max(1, busyTimeoutMs);
  c->Configure();
  // Text results here (plain Exec): "t" or "f", and the format number.
  auto probe = [&] {
    Result r = c->Exec("SELECT to_regclass('mv_meta') IS NOT NULL");
    return r.Bytes(0, 0) == "t";
  };
  if (!probe()) {
    if (!create) {
      throw DbaError(
          kErrDatabaseNotFound,
          "La base de données « " + RedactSecrets(uri) +
              " » n'est pas une base de données multivaleur (mvdb create y crée ses tables).");
    }
    c->CreateSchema();
  }
  const int found = c->Format();
  if (found < 1) {
    throw DbaError(kErrDatabaseNotFound, "La base de données « " + RedactSecrets(uri) +
                                             " » n'indique pas le format de ses tables.");
  }
  if (found > kFormatVersion) {
    throw DbaError(kErrDatabaseNotFound, "La base de données « " + RedactSecrets(uri) +
                                             " » a un format plus récent (" +
                                             std::to_string(found) + ") que ce programme (" +
                                             std::to_string(kFormatVersion) + ").");
  }
  if (found < kFormatVersion) c->Upgrade(uri);
  // After the upgrade: statements name the indexes of the current layout.
  c->PrepareAll();
  return c;
}

int Connection::Format() {
  Result format = Exec("SELECT max(format) FROM mv_meta");
  const std::string_view found = format.Bytes(0, 0);
  if (found.empty() || found.size() > 9 ||
      !std::all_of(found.begin(), found.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
    return -1;
  }
  return std::stoi(std::string(found));
}

void Connection::Upgrade(const std::string& uri) {
  // Under the write lock, in one transaction: two programs opening the old
  // layout at once upgrade it once, and a failure leaves it as it was.
  // Sessions of older programs already open fail on their next write (their
  // statements name indexes gone); new ones refuse the newer format.
  Exec(kBeginWrite);
  try {
    if (Format() == 1) Exec(kFromFormat1);
    Exec("COMMIT");
  } catch (const DbaError& e) {
    try {
      RollbackBlock();
    } catch (const DbaError&) {  // the first failure is the one to report
    }
    throw DbaError(e.number(), "La base de données « " + RedactSecrets(uri) +
                                   " » est d'un format ancien (1) que ce programme met à jour "
                                   "à son ouverture ; la mise à jour a échoué, rien n'a changé : " +
                                   e.what());
  }
}

void Connection::CreateSchema() {
  // Under the write lock: two programs creating the tables at once make them
  // once, the second finding them there.
  Exec(kBeginWrite);
  try {
    Result again = Exec("SELECT to_regclass('mv_meta') IS NOT NULL");
    if (again.Bytes(0, 0) != "t") {
      Exec(kSchema);
      Exec(("INSERT INTO mv_meta(format) VALUES(" + std::to_string(kFormatVersion) + ")").c_str());
    }
    Exec("COMMIT");
  } catch (...) {
    try {
      RollbackBlock();
    } catch (const DbaError&) {  // the first failure is the one to report
    }
    throw;
  }
}

void Connection::Configure() {
  // A wait for a lock (the write lock above all) gives up as a busy SQLite
  // file does; 0 would mean no limit to the server.
  // Every statement of ours finds its rows through a primary key whatever
  // the values: one generic plan each, never planned again per execution.
  // No JIT: the lookup of a long key that a keys-only read may need costs
  // its plan the price of a read per row, though short keys never run it,
  // and compiling would then cost more than the whole read.
  Exec(("SET lock_timeout = " + std::to_string(busyTimeoutMs_) +
        "; SET client_min_messages = warning; SET plan_cache_mode = force_generic_plan"
        "; SET jit = off")
           .c_str());
}

void Connection::PrepareAll() {
  // Every statement at once, in one round trip: an action then pays only
  // for the statements it runs, even on a session just opened again.
  std::string sql;
  for (std::size_t i = 0; i < std::size(kSql); ++i) {
    sql += "PREPARE mv" + std::to_string(i) + " AS " + kSql[i] + ";";
  }
  Exec(sql.c_str());
}

Connection::~Connection() {
  if (c_) PQfinish(c_);
}

bool Connection::Lost() const { return gone_ || PQstatus(c_) == CONNECTION_BAD; }

bool Connection::Gone(const PGresult* r) {
  if (!gone_ && PQstatus(c_) != CONNECTION_BAD) {
    const ExecStatusType st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK) return false;
    // libpq may report a server that vanished (an immediate shutdown) with
    // the connection still marked good: an error with no SQLSTATE comes
    // from the client side, and class 08 and 57P01-57P03 from a server
    // that is ending or ended the session.
    const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    const std::string code = state ? state : "";
    if (!code.empty() && !code.starts_with("08") && code != "57P01" && code != "57P02" &&
        code != "57P03") {
      return false;
    }
  }
  gone_ = true;
  return true;
}

void Connection::RollbackBlock() {
  if (!open_) return;
  if (Lost()) {
    open_ = false;
    return;
  }
  Exec("ROLLBACK");
}

void Connection::Reconnect() {
  // PQreset dials the same servers in the same order: with several hosts
  // and target_session_attrs=read-write, whichever is the primary now.
  PQreset(c_);
  open_ = false;
  gone_ = false;
  if (PQstatus(c_) != CONNECTION_OK) {
    throw DbaError(kErrStorage, "Pas de connexion au serveur de base de données : " +
                                    RedactSecrets(Trimmed(PQerrorMessage(c_))) + ".");
  }
  reconnecting_ = true;
  try {
    Configure();
    PrepareAll();
    if (onReconnect_) onReconnect_();
  } catch (...) {
    reconnecting_ = false;
    throw;
  }
  reconnecting_ = false;
}

template <class Statement>
Result Connection::Send(Statement send) {
  const auto lostInBlock = [] {
    return DbaError(kErrStorage,
                    "La connexion au serveur de base de données a été perdue pendant une "
                    "transaction : elle est annulée, rien n'en a été enregistré.");
  };
  if (Lost() && !reconnecting_) {
    if (open_) throw lostInBlock();
    Reconnect();
  }
  ++sent_;
  PGresult* r = send();
  if (Gone(r) && !reconnecting_) {
    PQclear(r);
    if (open_) throw lostInBlock();
    // Outside a block every statement of ours may run twice: a read, the
    // release of a lock, or the BEGIN that opens a write.
    Reconnect();
    ++sent_;
    r = send();
  }
  if (!Lost()) open_ = PQtransactionStatus(c_) != PQTRANS_IDLE;
  return Checked(r);
}

Result Connection::Checked(PGresult* r) const {
  const ExecStatusType st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
  if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) Fail(r);
  return Result(r);
}

Result Connection::Run(Sql id, Params& params) {
  const auto i = static_cast<std::size_t>(id);
  char name[8];
  std::snprintf(name, sizeof name, "mv%zu", i);
  return Send([&] {
    return PQexecPrepared(c_, name, params.size(), params.values(), params.lengths(),
                          params.formats(), 1);
  });
}

std::pair<Result, Result> Connection::RunAfter(const std::string& sql, Sql id, Params& params) {
  std::vector<Result> all = RunMany(sql, {{id, &params}});
  Result last = std::move(all.back());
  all.pop_back();
  return {std::move(all.back()), std::move(last)};
}

std::vector<Result> Connection::RunMany(const std::string& sql,
                                        const std::vector<std::pair<Sql, Params*>>& statements) {
  std::string all = sql;
  for (const auto& [id, params] : statements) {
    all +=
        (all.empty() ? "EXECUTE mv" : "; EXECUTE mv") + std::to_string(static_cast<int>(id)) + "(";
    for (int i = 0; i < params->size(); ++i) all += (i ? ", " : "") + params->Literal(i);
    all += ")";
  }
  std::vector<Result> results;
  Result last = Send([&]() -> PGresult* {
    results.clear();
    if (!PQsendQuery(c_, all.c_str())) return nullptr;
    // One result per statement; a failure ends the run and is the last.
    PGresult* r = nullptr;
    bool failed = false;
    while (PGresult* next = PQgetResult(c_)) {
      if (failed) {
        PQclear(next);
        continue;
      }
      if (r) results.emplace_back(r);
      r = next;
      const ExecStatusType st = PQresultStatus(next);
      failed = st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK;
    }
    return r;
  });
  results.push_back(std::move(last));
  return results;
}

Result Connection::Exec(const char* sql) {
  return Send([&] { return PQexec(c_, sql); });
}

void Connection::Fail(PGresult* r) const {
  const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
  const std::string code = state ? state : "";
  std::string why = Trimmed(r ? PQresultErrorMessage(r) : PQerrorMessage(c_));
  if (why.empty()) why = Trimmed(PQerrorMessage(c_));
  if (r) PQclear(r);
  if (Lost()) {
    throw DbaError(kErrStorage, "Pas de connexion au serveur de base de données : " + why + ".");
  }
  if (code == "23503") {  // foreign key: the file was deleted meanwhile
    throw DbaError(kErrFileNotFound, "Le fichier multivaleur n'existe plus.");
  }
  // Lock not available (lock_timeout), deadlock, serialization failure.
  if (code == "55P03" || code == "40P01" || code == "40001") {
    throw DbaError(kErrBusy,
                   "La base de données est occupée par un autre traitement : " + why + ".");
  }
  throw DbaError(kErrStorage, "Erreur de la base de données : " + why + ".");
}

}  // namespace dba::pg
