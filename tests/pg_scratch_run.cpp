// pg-scratch-run COMMAND ARG...: runs COMMAND with every argument "@DB@"
// replaced by the URI of a scratch PostgreSQL database (pg_scratch.h),
// dropped once COMMAND ends; exits with COMMAND's status. Lets tests that
// drive a program (scenarios, mvdb) run on PostgreSQL.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "pg_scratch.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: pg-scratch-run COMMAND [ARG...]  (@DB@ stands for the database)\n");
    return 2;
  }
  morvanel::testing::ScratchPg scratch;
  std::vector<std::string> args(argv + 1, argv + argc);
  for (std::string& a : args) {
    for (std::size_t at = a.find("@DB@"); at != std::string::npos; at = a.find("@DB@")) {
      a.replace(at, 4, scratch.uri());
    }
  }
  const pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    std::vector<char*> raw;
    for (std::string& a : args) raw.push_back(a.data());
    raw.push_back(nullptr);
    execv(raw[0], raw.data());
    std::perror(raw[0]);
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return 2;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
