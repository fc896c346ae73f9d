#include "dba/index_check.h"

#include "dba/citem.h"
#include "dba/database.h"
#include "dba/record_text.h"

namespace dba {

void AddExpectedEntries(IndexEntries& entries, std::string_view key, std::string_view body,
                        int attribute) {
  text::ForEachPiece(text::Field(body, kAttributeMark, attribute), [&](std::string_view p) {
    entries.emplace(std::string(p), std::string(key));
  });
}

std::string ShownForCheck(std::string_view v) {
  std::string out;
  for (char ch : v) {
    const auto u = static_cast<unsigned char>(ch);
    out += u < 0x20 || u >= 0xFC ? '?' : ch;
  }
  return out;
}

void CompareIndex(const std::string& fileName, int attribute, const IndexEntries& expected,
                  const IndexEntries& stored, std::vector<std::string>& findings) {
  const std::string where = "index " + fileName + " " + std::to_string(attribute) + ": ";
  for (const auto& [value, key] : expected) {
    if (!stored.count({value, key})) {
      findings.push_back(where + "record " + ShownForCheck(key) + " missing under \"" +
                         ShownForCheck(value) + "\"");
    }
  }
  for (const auto& [value, key] : stored) {
    if (!expected.count({value, key})) {
      findings.push_back(where + "stray entry \"" + ShownForCheck(value) + "\" for record " +
                         ShownForCheck(key));
    }
  }
}

}  // namespace dba
