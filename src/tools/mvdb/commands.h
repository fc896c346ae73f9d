// mvdb's command interpreter: runs one command line against a database and
// reports through the given streams. Tools layer (src/tools/mvdb, no Qt).
//
//   std::vector<std::string> args = {"read", "paie.mvdb", "CENTREURSSAF", "01"};
//   int status = mvdb::RunCommand(args, {std::cin, std::cout, std::cerr});
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace mvdb {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // database error, missing record or file
inline constexpr int kExitUsage = 2;    // bad command line or bad shown text

struct Streams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// Runs the command named by args[0]; returns the process exit status.
int RunCommand(const std::vector<std::string>& args, Streams io);

// The text printed by "mvdb help".
[[nodiscard]] const char* HelpText();

}  // namespace mvdb
