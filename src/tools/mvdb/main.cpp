// mvdb: command-line administration of a multivalue database file, for
// administrators and the test suite. Tools layer (src/tools/mvdb, no Qt).
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "version.h"

int main(int argc, char** argv) {
  if (version::Printed(argc, argv, "mvdb")) return 0;
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return mvdb::RunCommand(args, {std::cin, std::cout, std::cerr});
}
