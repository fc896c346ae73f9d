// mvdb's export and import: a whole file as lines "KEY^TEXT" in shown form.
// Tools layer (src/tools/mvdb, no Qt).
#include <iostream>

#include "command_table.h"
#include "shown_form.h"

namespace mvdb {
namespace {

// Every key of a file, in key order.
std::vector<std::string> AllKeys(dba::Database& db, const std::string& file) {
  dba::CItem request;
  request.setItem(1, "SSELECT " + file);
  request.setItem(2, file);
  request.setItem(3, "0");
  const std::string result = db.DBSelect(request.Item()).Item();
  std::vector<std::string> keys;
  if (result.empty()) return keys;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = result.find(dba::kAttributeMark, start);
    keys.push_back(result.substr(start, end - start));
    if (end == std::string::npos) return keys;
    start = end + 1;
  }
}

struct Line {
  std::string key, text;
};

Line ParseLine(std::string line, int number) {
  if (!line.empty() && line.back() == '\r') line.pop_back();  // edited on another system
  const std::string stored = FromShown(line);
  const std::size_t mark = stored.find(dba::kAttributeMark);
  if (mark == std::string::npos || mark == 0) {
    throw UsageError("line " + std::to_string(number) + ": expected KEY^TEXT");
  }
  return {stored.substr(0, mark), stored.substr(mark + 1)};
}

}  // namespace

int CmdExport(const Args& a, Streams io) {
  auto db = OpenExisting(a[0]);
  dba::DBFile file = db->DBOpen(a[1]);
  for (const std::string& key : AllKeys(*db, a[1])) {
    io.out << ToShown(key) << '^' << ToShown(file.DBRead(key).Item()) << '\n';
  }
  io.out.flush();
  if (!io.out) throw CommandFailure("cannot write the export");
  return kExitOk;
}

int CmdImport(const Args& a, Streams io) {
  // Everything is parsed before the first write, so a bad line writes nothing.
  std::vector<Line> lines;
  std::string line;
  for (int number = 1; std::getline(io.in, line); ++number) {
    if (line.empty() || line == "\r") continue;
    try {
      lines.push_back(ParseLine(line, number));
    } catch (const std::invalid_argument& e) {
      throw UsageError("line " + std::to_string(number) + ": " + e.what());
    }
  }
  auto db = OpenExisting(a[0]);
  dba::DBFile file = db->DBOpen(a[1]);
  dba::Transaction transaction(*db);
  for (const Line& l : lines) {
    dba::CItem record = file.DBNew(l.key);
    record.setItem(l.text);
    record.DBWrite();
  }
  transaction.Commit();
  return kExitOk;
}

}  // namespace mvdb
