// Dispatch of mvdb's commands and the translation of failures into exit
// statuses and messages. Tools layer (src/tools/mvdb, no Qt).
#include <cstdio>
#include <iostream>
#include <string_view>

#include "command_table.h"
#include "dba/redact.h"
#include "shown_form.h"

namespace mvdb {
namespace {

struct Command {
  std::string_view name;
  std::size_t minArgs, maxArgs;  // arguments after the command name
  std::string_view usage;
  int (*run)(const Args&, Streams);
};

constexpr std::size_t kMany = 1000000;

constexpr Command kCommands[] = {
    {"create", 1, kMany, "create DB [FILE...]", CmdCreate},
    {"files", 1, 1, "files DB", CmdFiles},
    {"write", 4, 4, "write DB FILE KEY TEXT", CmdWrite},
    {"read", 3, 3, "read DB FILE KEY", CmdRead},
    {"delete", 3, 3, "delete DB FILE KEY", CmdDelete},
    {"select", 2, 4, "select DB SENTENCE [COLUMNS] [--lines]", CmdSelect},
    {"index", 3, 3, "index DB FILE ATTR", CmdIndex},
    {"unlock", 3, 3, "unlock DB FILE KEY", CmdUnlock},
    {"check", 1, 1, "check DB", CmdCheck},
    {"export", 2, 2, "export DB FILE", CmdExport},
    {"import", 2, 2, "import DB FILE", CmdImport},
    {"copy", 2, 2, "copy SOURCE DESTINATION", CmdCopy},
    {"seed-demo", 1, 3, "seed-demo DB [--scale N]", CmdSeedDemo},
    {"call", 2, 3, "call DB ROUTINE [PARAM]", CmdCall},
};

std::string Hex(std::uint32_t n) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", n);
  return text;
}

int Dispatch(const std::vector<std::string>& args, Streams io) {
  if (args.empty()) throw UsageError("no command given");
  const std::string& name = args[0];
  if (name == "help" || name == "--help" || name == "-h") {
    io.out << HelpText();
    return kExitOk;
  }
  for (const Command& c : kCommands) {
    if (c.name != name) continue;
    const Args rest(args.begin() + 1, args.end());
    if (rest.size() < c.minArgs || rest.size() > c.maxArgs) {
      throw UsageError("usage: mvdb " + std::string(c.usage));
    }
    return c.run(rest, io);
  }
  throw UsageError("unknown command \"" + name + "\"");
}

}  // namespace

std::shared_ptr<dba::Database> OpenExisting(const std::string& path) {
  return dba::Database::Open(path);
}

int ParseNumber(const std::string& text, const char* what) {
  int n = 0;
  if (text.empty() || text.size() > 9) throw UsageError(std::string(what) + " must be a number");
  for (char c : text) {
    if (c < '0' || c > '9') throw UsageError(std::string(what) + " must be a number");
    n = n * 10 + (c - '0');
  }
  return n;
}

int RunCommand(const std::vector<std::string>& args, Streams io) {
  try {
    return Dispatch(args, io);
  } catch (const UsageError& e) {
    io.err << "mvdb: " << dba::RedactSecrets(e.what()) << "\n(mvdb help lists the commands)\n";
    return kExitUsage;
  } catch (const ShownFormError& e) {
    io.err << "mvdb: " << e.what() << '\n';
    return kExitUsage;
  } catch (const dba::DbaError& e) {
    io.err << "mvdb: error " << Hex(e.number()) << ": " << dba::RedactSecrets(e.what()) << '\n';
    return kExitFailure;
  } catch (const std::exception& e) {
    io.err << "mvdb: " << dba::RedactSecrets(e.what()) << '\n';
    return kExitFailure;
  }
}

}  // namespace mvdb
