// The PostgreSQL connection of a database: opening and checking it, the
// schema, prepared statements run with binary parameters and results, and
// the mapping of server failures to DbaError. Lowest level of the
// PostgreSQL backend of the database layer; knows nothing of records.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct pg_conn;
struct pg_result;

namespace dba::pg {

// Every statement the backend runs more than once. Untrusted text only
// ever reaches them as bound parameters, and always as bytea: keys, bodies
// and file names hold bytes that are not valid UTF-8.
enum class Sql : int {
  kFileByName,
  kInsertFile,
  kDeleteFile,
  kListFiles,
  kIndexedAttributes,
  kInsertIndex,
  kRead,
  kWrite,
  kWriteIndexed,
  kDelete,
  kReleaseLock,
  kReadLocked,
  kClearLock,
  kReleaseOwner,
  kScanAll,
  kKeyRange,
  kIndexEqual,
  kIndexKeysEqual,
  kIndexRange,
  kIndexKeysRange,
  kReadBody,
  kInsertEntries,
  kReadPresent,
  kReadAny,
  kOwnerAlive,
  kUpsert,
  kCatalog,
  kReadMany,
  kDeletePlain,
  kWriteIndexedFree,
  kRewrite,
  kRewriteMovingEntry,
  kReadManyBodies,
  kCount
};

// The parameters of one statement, all sent in binary. Kept in place (no
// allocation for numbers): a statement runs thousands of times a second.
class Params {
 public:
  static constexpr int kMax = 10;
  Params() = default;
  Params(const Params&) = delete;
  Params& operator=(const Params&) = delete;

  Params& Int(std::int64_t v);        // int8
  Params& Int4(std::int32_t v);       // int4
  Params& Bytes(std::string_view v);  // bytea (or the raw binary form of any type)
  // A one-dimensional array, int4[] or bytea[].
  Params& Int4Array(const std::vector<std::int32_t>& v);
  Params& BytesArray(const std::vector<std::string_view>& v);

  [[nodiscard]] int size() const { return count_; }
  [[nodiscard]] const char* const* values() const { return values_.data(); }
  [[nodiscard]] const int* lengths() const { return lengths_.data(); }
  [[nodiscard]] const int* formats() const { return formats_.data(); }
  // Parameter `i` as an SQL literal (numbers, or bytea in hex: nothing in
  // it can end the literal); arrays have none (std::logic_error).
  [[nodiscard]] std::string Literal(int i) const;

 private:
  Params& Add(std::string_view v);
  Params& Own(std::string encoded);
  int count_ = 0;
  std::array<std::string, kMax> owned_;  // encoded numbers and arrays, by position
  std::array<char[8], kMax> numbers_{};
  std::array<const char*, kMax> values_{};
  std::array<int, kMax> lengths_{};
  std::array<int, kMax> formats_{};
  std::array<char, kMax> kinds_{};  // '8' int8, '4' int4, 'b' bytea, 'a' array
};

// A statement's rows, freed when it goes: binary, or text for the
// statements run in one go with others (Connection::RunAfter), whose
// bytea values are decoded on first use.
class Result {
 public:
  explicit Result(pg_result* r) : r_(r) {}
  ~Result();
  Result(Result&& o) noexcept : r_(o.r_), decoded_(std::move(o.decoded_)) { o.r_ = nullptr; }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  Result& operator=(Result&&) = delete;

  [[nodiscard]] int Rows() const;
  [[nodiscard]] bool IsNull(int row, int col) const;
  [[nodiscard]] std::string_view Bytes(int row, int col) const;
  [[nodiscard]] std::int64_t Int(int row, int col) const;  // int2, int4 or int8
  [[nodiscard]] bool Bool(int row, int col) const;
  [[nodiscard]] std::string_view Status() const;  // the command tag ("COMMIT", ...)
  // The rows an INSERT, UPDATE or DELETE changed (its own, not its WITH
  // parts'); 0 for other statements.
  [[nodiscard]] std::int64_t Changed() const;

 private:
  [[nodiscard]] bool Text(int col) const;
  pg_result* r_;
  mutable std::map<std::pair<int, int>, std::string> decoded_;  // text bytea, by cell
};

class Connection {
 public:
  // Connects and checks that our tables are there; `create` makes them when
  // the database holds none of ours. kErrDatabaseNotFound otherwise.
  static std::unique_ptr<Connection> Open(const std::string& uri, bool create, int busyTimeoutMs);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs a statement, prepared with all the others when the session opens.
  Result Run(Sql id, Params& params);
  // Runs plain SQL without parameters (several statements allowed).
  Result Exec(const char* sql);
  // Runs `sql` (plain statements) then statement `id`, in one round trip:
  // the result of the last statement of `sql`, then that of `id`, both in
  // text. The first failure throws; the statements after it did not run.
  std::pair<Result, Result> RunAfter(const std::string& sql, Sql id, Params& params);
  // Runs `sql` (plain statements, or none) then each statement, in one round
  // trip: every statement's result, in text. The first failure throws.
  std::vector<Result> RunMany(const std::string& sql,
                              const std::vector<std::pair<Sql, Params*>>& statements);
  // Throws the DbaError matching a failed result.
  [[noreturn]] void Fail(pg_result* r) const;  // frees r
  // `r`, or the DbaError it reports.
  Result Checked(pg_result* r) const;
  [[nodiscard]] pg_conn* handle() const { return c_; }
  // Statements sent so far, each a round trip to the server.
  [[nodiscard]] std::uint64_t Sent() const { return sent_; }
  // Whether a transaction block of ours is open (failed ones included),
  // even when the server has since dropped the session.
  [[nodiscard]] bool InBlock() const { return open_; }
  // Ends the open block, if any: a ROLLBACK, or nothing to send when the
  // session is gone (the server rolled its transaction back).
  void RollbackBlock();
  // Whether the server has dropped the session (until the next statement
  // opens a new one).
  [[nodiscard]] bool Lost() const;
  // Run on each new session that replaces a dropped one, before the
  // statement that found it dropped is sent again.
  void OnReconnect(std::function<void()> f) { onReconnect_ = std::move(f); }

 private:
  explicit Connection(pg_conn* c) : c_(c) {}
  void Configure();
  void PrepareAll();
  void CreateSchema();
  // The layout recorded in mv_meta; -1 when it holds none.
  [[nodiscard]] int Format();
  // Brings an older layout to the current one, or throws leaving it as it was.
  void Upgrade(const std::string& uri);
  // Sends a statement through `send`. A session found dropped outside a
  // block is replaced and the statement sent again; inside one the
  // transaction is gone with it, which only the caller can tell its user.
  template <class Statement>
  Result Send(Statement send);
  void Reconnect();
  // Whether `r` shows the session gone; remembered until Reconnect.
  bool Gone(const pg_result* r);
  pg_conn* c_;
  bool gone_ = false;
  int busyTimeoutMs_ = 0;
  bool open_ = false;
  bool reconnecting_ = false;
  std::uint64_t sent_ = 0;
  std::function<void()> onReconnect_;
};

// How keys and index values of any length sit in btree indexes, whose rows
// must stay under about 2.7 kB: by their stored form, the bytes themselves
// up to kHead bytes, beyond that the first kHead bytes followed by their
// SHA-256. The form tells two keys apart (as surely as SHA-256 does) and
// keeps their order, except among long keys that share their first kHead
// bytes: those come in the order of their hashes, which Select and Scan put
// right.
// Records and locks keep the whole key, found through an index on its
// stored form; index entries hold the stored forms only.
inline constexpr std::size_t kHead = 1000;
#define MV_HEAD "1000"
#define MV_STORED(x)                                                                       \
  "(CASE WHEN length(" x ") > " MV_HEAD " THEN substr(" x ", 1, " MV_HEAD ") || sha256(" x \
  ") ELSE " x " END)"
// Whether two keys, in the order of their stored forms, may stand in the
// wrong order: both long, the same first kHead bytes.
[[nodiscard]] inline bool SameStoredHead(std::string_view a, std::string_view b) {
  return a.size() > kHead && b.size() > kHead && a.substr(0, kHead) == b.substr(0, kHead);
}

// The database-wide write lock: one transaction-level advisory lock, whose
// two-number key cannot meet the one-number keys of session owners.
inline constexpr const char* kBeginWrite = "BEGIN; SELECT pg_advisory_xact_lock(1297499202, 1);";

// kBeginWrite followed, in the same round trip, by what holds until the
// write lock is released: the indexed attributes of every file ("id:attr,"
// text) and the files where another live session than `owner` holds record
// locks ("id," text). Nobody can add to either while we hold the lock.
[[nodiscard]] std::string BeginWriteAndLook(std::int64_t owner);

}  // namespace dba::pg
