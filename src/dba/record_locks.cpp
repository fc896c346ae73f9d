// Record locks, in the manner of a multivalue READU: a committed row of the
// `locks` table per locked record, naming the owning session. Database layer.
//
// A session (one Database object) takes a lock with ReadLocked inside a
// write transaction, so two sessions cannot both see the record free. Other
// sessions' reads and writes of the record wait, polling, up to the lock
// timeout. A lock ends by DBWrite/DBDelete of the record, Release, or the
// close of the session. A lock whose owner process is gone (same host, pid
// no longer alive, or our own pid with a session already closed) is stale:
// it is ignored, and replaced by the next ReadLocked.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "dba/database_impl.h"

namespace dba {

namespace {

std::mutex gOwnersMutex;
std::set<std::string, std::less<>>& LiveOwners() {
  static std::set<std::string, std::less<>> owners;
  return owners;
}

const std::string& HostName() {
  static const std::string name = [] {
    char buf[256] = {};
    if (gethostname(buf, sizeof buf - 1) != 0) return std::string("?");
    return std::string(buf);
  }();
  return name;
}

std::int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Owner tokens read "pid@host#serial-random".
bool ParseOwner(std::string_view owner, long& pid, std::string_view& host) {
  const auto at = owner.find('@');
  const auto hash = owner.rfind('#');
  if (at == std::string_view::npos || hash == std::string_view::npos || hash < at || at == 0) {
    return false;
  }
  pid = 0;
  for (char c : owner.substr(0, at)) {
    if (c < '0' || c > '9') return false;
    pid = pid * 10 + (c - '0');
  }
  host = owner.substr(at + 1, hash - at - 1);
  return true;
}

}  // namespace

std::string RegisterOwner() {
  static std::uint64_t serial = 0;
  std::random_device rd;
  std::lock_guard lock(gOwnersMutex);
  std::string token = std::to_string(getpid()) + "@" + HostName() + "#" + std::to_string(++serial) +
                      "-" + std::to_string(rd());
  LiveOwners().insert(token);
  return token;
}

void UnregisterOwner(const std::string& owner) noexcept {
  std::lock_guard lock(gOwnersMutex);
  LiveOwners().erase(owner);
}

bool DatabaseImpl::HeldByOther(std::string_view owner) const {
  if (owner == owner_) return false;
  long pid = 0;
  std::string_view host;
  if (!ParseOwner(owner, pid, host) || host != HostName()) return true;  // cannot tell: alive
  if (pid == static_cast<long>(getpid())) {
    std::lock_guard lock(gOwnersMutex);
    return LiveOwners().count(owner) > 0;
  }
  return !(kill(static_cast<pid_t>(pid), 0) == -1 && errno == ESRCH);
}

std::int64_t DatabaseImpl::LockDeadline() const { return NowMs() + options_.lockTimeoutMs; }

void DatabaseImpl::WaitForLock(const FileBinding& file, std::string_view key,
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

bool DatabaseImpl::MayHoldLock(std::int64_t fileId, std::string_view key) const {
  if (heldLocks_.empty()) return false;
  return heldLocks_.count({fileId, std::string(key)}) > 0;
}

void DatabaseImpl::ForgetLock(std::int64_t fileId, std::string_view key) {
  heldLocks_.erase({fileId, std::string(key)});
}

std::string DatabaseImpl::ReadLocked(const FileBinding& file, std::string_view key) {
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
        .Text(3, owner_)
        .Int(4, getpid())
        .Run();
    heldLocks_.emplace(file.id, std::string(key));
    w.Commit();
    return true;
  });
  return body;
}

void DatabaseImpl::Release(const FileBinding& file, std::string_view key) {
  store::Step(*conn_, store::Sql::kReleaseLock).Int(1, file.id).Text(2, key).Text(3, owner_).Run();
  if (!inTransaction_) ForgetLock(file.id, key);
}

void DatabaseImpl::ReleaseAllLocks() noexcept {
  if (heldLocks_.empty()) return;
  try {
    store::Step(*conn_, store::Sql::kReleaseOwner).Text(1, owner_).Run();
  } catch (...) {  // the rows are stale once this process ends
  }
  heldLocks_.clear();
}

}  // namespace dba
