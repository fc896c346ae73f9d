// mvdb's export and import (a whole file as lines "KEY^TEXT" in shown form)
// and copy (a whole database into another).
// Tools layer (src/tools/mvdb, no Qt).
#include <iostream>
#include <string_view>

#include "command_table.h"
#include "dba/copy.h"
#include "dba/redact.h"
#include "shown_form.h"

namespace mvdb {
namespace {

// Written first by some editors; it is no part of the first key.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Line {
  int number = 0;
  std::string key, text;
};

Line ParseLine(std::string line, int number) {
  if (!line.empty() && line.back() == '\r') line.pop_back();  // edited on another system
  const std::string stored = FromShown(line);
  const std::size_t mark = stored.find(dba::kAttributeMark);
  if (mark == std::string::npos || mark == 0) {
    throw UsageError("line " + std::to_string(number) + ": expected KEY^TEXT");
  }
  return {number, stored.substr(0, mark), stored.substr(mark + 1)};
}

}  // namespace

int CmdExport(const Args& a, Streams io) {
  // The whole export is made before its first byte goes out: a failure
  // part-way must not leave lines that an import would take for records.
  auto db = OpenExisting(a[0]);
  std::string text;
  db->DBOpen(a[1]).ForEachRecord([&text](std::string_view key, std::string_view body) {
    text += ToShown(key);
    text += '^';
    text += ToShown(body);
    text += '\n';
  });
  io.out << text;
  io.out.flush();
  if (!io.out) throw CommandFailure("cannot write the export");
  return kExitOk;
}

int CmdImport(const Args& a, Streams io) {
  // Everything is parsed before the first write, so a bad line writes
  // nothing; the writes share one transaction, so a failing one undoes the
  // others.
  std::vector<Line> lines;
  std::string line;
  for (int number = 1; std::getline(io.in, line); ++number) {
    if (number == 1 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
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
    try {
      record.DBWrite();
    } catch (const dba::DbaError& e) {
      throw dba::DbaError(e.number(), "line " + std::to_string(l.number) + ": " + e.what());
    }
  }
  transaction.Commit();
  return kExitOk;
}

int CmdCopy(const Args& a, Streams io) {
  auto from = OpenExisting(a[0]);
  // The destination may be new: a missing file, or a server database
  // without our tables, is made a database first.
  auto to = dba::Database::Open(a[1], {.create = true});
  const dba::CopySummary s = dba::CopyDatabase(*from, *to);
  io.out << "copied " << s.files << " files, " << s.records << " records, " << s.indexes
         << " indexes into " << dba::RedactSecrets(a[1]) << "\n";
  return kExitOk;
}

}  // namespace mvdb
