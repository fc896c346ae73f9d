// Record locks, in the manner of a multivalue READU: a committed row of the
// `locks` table per locked record, naming the owning session. Database layer.
//
// A session (one Database object) takes a lock with ReadLocked inside a
// write transaction, so two sessions cannot both see the record free. Other
// sessions' reads and writes of the record wait, polling, up to the lock
// timeout. A lock ends by DBWrite/DBDelete of the record, Release, ClearLock,
// or the close of the session. A lock whose owner session is gone (see
// SessionOwner) is stale: it is ignored, and replaced by the next ReadLocked.
//
// Owner tokens read "S<slot>:<pid>@<host>#<random>"; only the slot and the
// whole token decide, pid and host are there for the administrator. Rows
// written before slots existed read "<pid>@<host>#..." and are judged by
// their process id, the only thing they carry.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "dba/sqlite_database.h"

namespace dba {

namespace {

constexpr off_t kSlotSize = 128;      // a token and its padding
constexpr off_t kMaxSlots = 1 << 16;  // sessions alive at once on one database

const std::string& HostName() {
  static const std::string name = [] {
    char buf[256] = {};
    if (gethostname(buf, sizeof buf - 1) != 0) return std::string("?");
    return std::string(buf).substr(0, 64);
  }();
  return name;
}

std::int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The decimal number that is the whole of `digits`: no sign, no blank, no
// junk, no overflow. Owner tokens come from other processes and from older
// versions; a number misread would judge the wrong session.
template <typename Unsigned>
std::optional<Unsigned> WholeNumber(std::string_view digits) {
  Unsigned n = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, n);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return n;
}

// The slot of a token "S<slot>:...", or -1 for a token without one.
off_t SlotOf(std::string_view token) {
  const auto colon = token.find(':');
  if (token.size() < 3 || token[0] != 'S' || colon == std::string_view::npos) return -1;
  const auto slot = WholeNumber<std::uint32_t>(token.substr(1, colon - 1));
  return slot && *slot < kMaxSlots ? static_cast<off_t>(*slot) : -1;
}

// A row written before slots existed: alive unless its process is known
// gone (same host, no such process, or this process, whose sessions all
// use slots).
bool LegacyOwnerAlive(std::string_view owner) {
  const auto at = owner.find('@');
  const auto hash = owner.rfind('#');
  if (at == std::string_view::npos || hash == std::string_view::npos || hash < at || at == 0 ||
      at > 9) {
    return true;  // cannot tell
  }
  // Unsigned, as kill() of a negative or zero id asks about a whole group.
  const auto pid = WholeNumber<std::uint32_t>(owner.substr(0, at));
  if (!pid || *pid == 0) return true;
  if (owner.substr(at + 1, hash - at - 1) != HostName()) return true;
  if (*pid == static_cast<std::uint32_t>(getpid())) return false;
  return !(kill(static_cast<pid_t>(*pid), 0) == -1 && errno == ESRCH);
}

struct flock SlotRange(off_t slot, short type) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = slot * kSlotSize;
  fl.l_len = kSlotSize;
  return fl;
}

[[noreturn]] void FailOwners(const std::string& path, const char* what, int error) {
  throw DbaError(kErrStorage, "Le fichier des verrous « " + path + " » " + what + " : " +
                                  std::strerror(error) + ".");
}

}  // namespace

SessionOwner::SessionOwner(const std::string& databasePath) {
  const std::string path = databasePath + "-owners";
  fd_ = UniqueFd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
  if (!fd_.valid()) FailOwners(path, "ne s'ouvre pas", errno);
  off_t slot = 0;
  for (;; ++slot) {
    if (slot == kMaxSlots) {
      throw DbaError(kErrBusy,
                     "Trop de sessions sont ouvertes sur la base « " + databasePath + " ».");
    }
    struct flock fl = SlotRange(slot, F_WRLCK);
    if (fcntl(fd_.get(), F_OFD_SETLK, &fl) == 0) break;
    if (errno != EAGAIN && errno != EACCES) FailOwners(path, "ne prend pas de verrou", errno);
  }
  std::random_device rd;
  char random[24];
  std::snprintf(random, sizeof random, "%08x%08x", rd(), rd());
  token_ =
      "S" + std::to_string(slot) + ":" + std::to_string(getpid()) + "@" + HostName() + "#" + random;
  std::string padded = token_;
  padded.resize(kSlotSize, '\0');
  if (::pwrite(fd_.get(), padded.data(), padded.size(), slot * kSlotSize) !=
      static_cast<ssize_t>(padded.size())) {
    FailOwners(path, "ne s'écrit pas", errno);
  }
}

bool SessionOwner::Alive(std::string_view token) const {
  if (token == token_) return true;
  const off_t slot = SlotOf(token);
  if (slot < 0) return LegacyOwnerAlive(token);
  struct flock fl = SlotRange(slot, F_WRLCK);
  if (fcntl(fd_.get(), F_OFD_GETLK, &fl) != 0) return true;  // cannot tell: keep the lock
  // Our own slot shows free to us; a row naming it with another token is
  // the previous holder's, who is gone.
  if (fl.l_type == F_UNLCK) return false;
  char held[kSlotSize];
  if (::pread(fd_.get(), held, sizeof held, slot * kSlotSize) !=
      static_cast<ssize_t>(sizeof held)) {
    return true;  // the holder is still writing its token
  }
  return token.size() < sizeof held && std::string_view(held, token.size()) == token &&
         held[token.size()] == '\0';
}

bool SqliteDatabase::HeldByOther(std::string_view owner) const {
  return owner != OwnerToken() && session_.Alive(owner);
}

std::int64_t SqliteDatabase::LockDeadline() const { return NowMs() + options().lockTimeoutMs; }

void SqliteDatabase::WaitForLock(const FileBinding& file, std::string_view key,
                                 std::int64_t deadlineMs) const {
  const std::int64_t now = NowMs();
  // Inside a Transaction we hold the write lock the owner needs to release
  // its record: waiting could only end in the timeout.
  if (inTransaction_ || now >= deadlineMs) {
    throw DbaError(kErrRecordLocked, "L'enregistrement « " + std::string(key) + " » du fichier " +
                                         file.name + " est verrouillé par une autre session.");
  }
  const std::int64_t pause = std::min<std::int64_t>(20, deadlineMs - now);
  std::this_thread::sleep_for(std::chrono::milliseconds(pause));
}

bool SqliteDatabase::MayHoldLock(std::int64_t fileId, std::string_view key) const {
  if (heldLocks_.empty()) return false;
  return heldLocks_.count({fileId, std::string(key)}) > 0;
}

void SqliteDatabase::ForgetLock(std::int64_t fileId, std::string_view key) {
  heldLocks_.erase({fileId, std::string(key)});
}

std::string SqliteDatabase::ReadLocked(const FileBinding& file, std::string_view key) {
  CheckKey(key);
  std::string body;
  RetryWhileLocked(*this, file, key, [&] {
    WriteScope w(*this);
    {
      store::Step s(*conn_, store::Sql::kReadWithLock);
      s.Int(1, file.id).Text(2, key);
      s.Next();
      if (!s.IsNull(1) && HeldByOther(s.ColText(1))) return false;
      body.assign(s.ColBlob(0));
    }
    store::Step(*conn_, store::Sql::kTakeLock)
        .Int(1, file.id)
        .Text(2, key)
        .Text(3, OwnerToken())
        .Int(4, getpid())
        .Run();
    heldLocks_.emplace(file.id, std::string(key));
    w.Commit();
    return true;
  });
  return body;
}

void SqliteDatabase::Release(const FileBinding& file, std::string_view key) {
  store::Step(*conn_, store::Sql::kReleaseLock)
      .Int(1, file.id)
      .Text(2, key)
      .Text(3, OwnerToken())
      .Run();
  if (!inTransaction_) ForgetLock(file.id, key);
}

bool SqliteDatabase::ClearLock(std::int64_t fileId, std::string_view key) {
  WriteScope w(*this);
  store::Step(*conn_, store::Sql::kClearLock).Int(1, fileId).Text(2, key).Run();
  const bool cleared = sqlite3_changes(conn_->handle()) > 0;
  w.Commit();
  return cleared;
}

void SqliteDatabase::ReleaseAllLocks() noexcept {
  if (heldLocks_.empty()) return;
  try {
    store::Step(*conn_, store::Sql::kReleaseOwner).Text(1, OwnerToken()).Run();
  } catch (...) {  // the rows are stale once this process ends
  }
  heldLocks_.clear();
}

}  // namespace dba
