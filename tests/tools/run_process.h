// Test helpers of the tools: run a program with given arguments and
// standard input, collect its exit status and both outputs; a temporary
// directory removed on destruction.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tools_test {

struct ProcessResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "");

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  [[nodiscard]] std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace tools_test
