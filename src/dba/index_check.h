// The part of a database check that does not depend on the backend: the
// index entries a file's records call for, compared with those stored.
// Internal to the database layer.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dba {

using IndexEntries = std::set<std::pair<std::string, std::string>>;  // (value, key)

// Adds the entries of attribute `attribute` of one record: one per value or
// subvalue, as the index keeps them.
void AddExpectedEntries(IndexEntries& entries, std::string_view key, std::string_view body,
                        int attribute);
// One finding per entry missing from `stored` or stored without reason.
void CompareIndex(const std::string& fileName, int attribute, const IndexEntries& expected,
                  const IndexEntries& stored, std::vector<std::string>& findings);
// A key or value fit for a finding's line: marks and control bytes as "?".
[[nodiscard]] std::string ShownForCheck(std::string_view v);

}  // namespace dba
