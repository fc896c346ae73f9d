// The seeds of one fuzz target run through that target's checks in the
// normal build: an input that once broke something is kept among the seeds,
// so it stays checked without clang or libFuzzer. A broken check aborts the
// test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> Seeds() {
  std::vector<std::filesystem::path> seeds;
  for (const auto& entry : std::filesystem::directory_iterator(FUZZ_CORPUS_DIR))
    seeds.push_back(entry.path());
  std::sort(seeds.begin(), seeds.end());
  return seeds;
}

class Seed : public testing::TestWithParam<std::filesystem::path> {};

TEST_P(Seed, PassesTheTargetsChecks) {
  std::ifstream in(GetParam(), std::ios::binary);
  ASSERT_TRUE(in) << GetParam();
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(Corpus, Seed, testing::ValuesIn(Seeds()),
                         [](const testing::TestParamInfo<std::filesystem::path>& seed) {
                           std::string name = seed.param.filename().string();
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
