// mvdb's record commands: write, read, delete, select and call.
// Tools layer (src/tools/mvdb, no Qt).
#include <iostream>
#include <sstream>

#include "command_table.h"
#include "demo/demo_seed.h"
#include "shown_form.h"

namespace mvdb {
namespace {

// The file a query sentence names: its second word.
std::string FileOfSentence(const std::string& sentence) {
  std::istringstream words(sentence);
  std::string verb, file;
  if (!(words >> verb >> file)) {
    throw UsageError("the sentence must name a file: \"SSELECT FILE ...\"");
  }
  return file;
}

void PrintAttributes(const std::string& text, std::ostream& out) {
  if (text.empty()) return;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(dba::kAttributeMark, start);
    out << ToShown(std::string_view(text).substr(start, end - start)) << '\n';
    if (end == std::string::npos) return;
    start = end + 1;
  }
}

}  // namespace

int CmdWrite(const Args& a, Streams /*io*/) {
  const std::string text = FromShown(a[3]);  // before opening: a typo writes nothing
  auto db = OpenExisting(a[0]);
  dba::CItem record = db->DBOpen(a[1]).DBNew(a[2]);
  record.setItem(text);
  record.DBWrite();
  return kExitOk;
}

int CmdRead(const Args& a, Streams io) {
  auto db = OpenExisting(a[0]);
  const dba::CItem record = db->DBOpen(a[1]).DBRead(a[2]);
  if (record.Item().empty()) throw CommandFailure("record " + a[2] + " not found in " + a[1]);
  io.out << ToShown(record.Item()) << '\n';
  return kExitOk;
}

int CmdDelete(const Args& a, Streams /*io*/) {
  auto db = OpenExisting(a[0]);
  if (db->DBOpen(a[1]).DBDelete(a[2]) != 0) {
    throw CommandFailure("record " + a[2] + " not found in " + a[1]);
  }
  return kExitOk;
}

int CmdSelect(const Args& a, Streams io) {
  // The result record is printed as `read` prints a record; --lines puts
  // each selected record on a line of its own, easier to read.
  Args rest;
  bool lines = false;
  for (std::size_t i = 1; i < a.size(); ++i) {
    if (a[i] == "--lines") {
      lines = true;
    } else {
      rest.push_back(a[i]);
    }
  }
  if (rest.empty() || rest.size() > 2) {
    throw UsageError("usage: mvdb select DB SENTENCE [COLUMNS] [--lines]");
  }
  const std::string& sentence = rest[0];
  const std::string columns = rest.size() > 1 ? rest[1] : "0";
  dba::CItem request;
  request.setItem(1, sentence);
  request.setItem(2, FileOfSentence(sentence));
  request.setItem(3, columns);
  auto db = OpenExisting(a[0]);
  const std::string result = db->DBSelect(request.Item()).Item();
  if (lines) {
    PrintAttributes(result, io.out);
  } else if (!result.empty()) {
    io.out << ToShown(result) << '\n';
  }
  return kExitOk;
}

int CmdCall(const Args& a, Streams io) {
  const std::string parameter = a.size() > 2 ? FromShown(a[2]) : std::string();
  auto db = OpenExisting(a[0]);
  demo::RegisterDemoRoutines(*db);
  int number = 0;
  const dba::CItem result = db->DBCall(a[1], number, parameter);
  io.out << ToShown(result.Item()) << '\n';
  return kExitOk;
}

}  // namespace mvdb
