// Session: db-write and db-delete, the changes another workstation makes to
// the database in the middle of a scenario. Scenario runner (no Qt).
//
// Each command opens a session of its own on the database file, as another
// workstation would: the control's session sees the change only through the
// database, and a record the control holds locked makes the command fail.
#include <cstdio>

#include "dba/database.h"
#include "scenario_session.h"
#include "shown_form.h"

namespace scenario {
namespace {

// Short waits: a scenario that meets a lock is told so at once.
constexpr dba::OpenOptions kAutrePoste{.busyTimeoutMs = 1000, .lockTimeoutMs = 200};

std::string Hex(std::uint32_t n) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", n);
  return text;
}

}  // namespace

void Session::otherWorkstation(const Command& c) {
  const bool write = c.verb == Verb::DbWrite;
  const std::string what = std::string(write ? "db-write" : "db-delete") + " of record " + c.text +
                           " of " + c.name + " by another workstation";
  std::string text;
  if (write) {
    try {
      text = mvdb::FromShown(c.value);
    } catch (const mvdb::ShownFormError& e) {
      fail(what + ": the text is not in the shown form: " + e.what());
    }
  }
  int deleted = 0;
  try {
    auto other = dba::Database::Open(db_->Path(), kAutrePoste);
    const dba::DBFile file = other->DBOpen(c.name);
    if (write) {
      dba::CItem record = file.DBNew(c.text);
      record.setItem(text);
      record.DBWrite();
    } else {
      deleted = file.DBDelete(c.text) == 0 ? 1 : 0;
    }
  } catch (const dba::DbaError& e) {
    fail(what + " failed: error " + Hex(e.number()) + ": " + e.what());
  }
  if (!write && deleted == 0) fail(what + " failed: there is no such record");
}

void Session::dropSession() {
  try {
    dba::DropServerSession(*db_);
  } catch (const dba::DbaError& e) {
    fail("db-drop-session failed: error " + Hex(e.number()) + ": " + e.what());
  }
}

}  // namespace scenario
