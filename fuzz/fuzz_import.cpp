// mvdb import: any bytes as the lines to import into a file that already
// holds a few records.
//
// The import either succeeds, and the file then holds its old records with
// each imported line written over them (the last line of a key wins), or it
// fails with a message and an error status and the file is exactly as it
// was: nothing half-imported.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"
#include "dba/database.h"
#include "fuzz_support.h"
#include "shown_form.h"

namespace {

constexpr const char* kFile = "CIBLE";
using Contents = std::map<std::string, std::string>;

const Contents& Before() {
  static const Contents kBefore = {
      {"01",
       "URSSAF PARIS\xFE"
       "75\xFE"
       "A\xFD"
       "B"},
      {"07", "URSSAF RHONE"},
      {"Z",
       "\xFE\xFE"
       "fin"},
  };
  return kBefore;
}

// The database is opened for each look and closed after it, as mvdb does:
// a connection kept open grows its caches from run to run, and libFuzzer
// then takes every run for a possible leak and scans for it.
struct Fixture {
  fuzz::ScratchDir dir;
  std::string path = dir.File("import.mvdb");

  Fixture() {
    dba::OpenOptions options;
    options.create = true;
    (void)dba::Database::Open(path, options);
    Reset();
  }

  void Reset() const {
    const auto db = dba::Database::Open(path);
    const auto files = db->Files();
    if (std::find(files.begin(), files.end(), kFile) != files.end()) db->DeleteFile(kFile);
    db->CreateFile(kFile);
    dba::Transaction t(*db);
    for (const auto& [key, text] : Before()) {
      dba::CItem r = db->DBOpen(kFile).DBNew(key);
      r.setItem(text);
      r.DBWrite();
    }
    t.Commit();
  }

  [[nodiscard]] Contents Read() const {
    Contents c;
    dba::Database::Open(path)->DBOpen(kFile).ForEachRecord(
        [&c](std::string_view key, std::string_view text) { c.emplace(key, text); });
    return c;
  }
};

// The records the lines ask for, as the format documents them; false when
// some line is not KEY^TEXT.
bool Expected(std::string_view input, Contents& contents) {
  std::istringstream in{std::string(input)};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::string stored;
    try {
      stored = mvdb::FromShown(line);
    } catch (const mvdb::ShownFormError&) {
      return false;
    }
    const std::size_t mark = stored.find('\xFE');
    if (mark == std::string::npos || mark == 0) return false;
    contents[stored.substr(0, mark)] = stored.substr(mark + 1);
  }
  return true;
}

std::string Describe(const Contents& c) {
  std::string out;
  for (const auto& [key, text] : c)
    out += fuzz::Printable(key) + " = " + fuzz::Printable(text) + "\n";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  std::istringstream in{std::string(input)};
  std::ostringstream out, err;
  const int status = mvdb::RunCommand({"import", fixture.path, kFile}, {in, out, err});
  const Contents after = fixture.Read();

  if (status == mvdb::kExitOk) {
    Contents expected = Before();
    if (!Expected(input, expected))
      fuzz::Fail("an import of malformed lines succeeded", fuzz::Printable(input));
    if (after != expected) {
      fuzz::Fail("the import did not write what its lines say",
                 fuzz::Printable(input) + "\nexpected:\n" + Describe(expected) + "found:\n" +
                     Describe(after));
    }
    if (!err.str().empty()) fuzz::Fail("a successful import printed an error", err.str());
  } else {
    if (status != mvdb::kExitFailure && status != mvdb::kExitUsage)
      fuzz::Fail("unknown exit status");
    if (err.str().empty()) fuzz::Fail("a failed import said nothing", fuzz::Printable(input));
    if (after != Before()) {
      fuzz::Fail("a failed import changed the file",
                 fuzz::Printable(input) + "\n" + err.str() + "found:\n" + Describe(after));
    }
  }
  if (after != Before()) fixture.Reset();
  return 0;
}
