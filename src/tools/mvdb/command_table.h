// Private to mvdb: the errors commands raise and the command handlers, one
// per command, each in the file of its group. Tools layer (no Qt).
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "commands.h"
#include "dba/database.h"

namespace mvdb {

// A bad command line: exit status 2, message plus a hint to "mvdb help".
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failure that is not the database's own (missing record): exit status 1.
class CommandFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Args = std::vector<std::string>;  // the arguments after the command name

std::shared_ptr<dba::Database> OpenExisting(const std::string& path);
int ParseNumber(const std::string& text, const char* what);

// Record commands.
int CmdWrite(const Args& a, Streams io);
int CmdRead(const Args& a, Streams io);
int CmdDelete(const Args& a, Streams io);
int CmdSelect(const Args& a, Streams io);
int CmdCall(const Args& a, Streams io);
// Administration.
int CmdCreate(const Args& a, Streams io);
int CmdFiles(const Args& a, Streams io);
int CmdIndex(const Args& a, Streams io);
int CmdUnlock(const Args& a, Streams io);
int CmdCheck(const Args& a, Streams io);
int CmdSeedDemo(const Args& a, Streams io);
// Whole-file transfer.
int CmdExport(const Args& a, Streams io);
int CmdImport(const Args& a, Streams io);
int CmdCopy(const Args& a, Streams io);

}  // namespace mvdb
