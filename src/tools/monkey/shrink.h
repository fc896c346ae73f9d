// Shrinking a failing session to the fewest actions that still break the
// same rule: delta debugging over the actions, each candidate replayed from
// a fresh database. Random clerk sessions (src/tools/monkey, no Qt).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace monkey {

// A session's lines cut into its header (rights, init) and its actions,
// each action with the answers given to the boxes it showed.
struct Split {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> actions;
};
[[nodiscard]] Split SplitSession(const std::vector<std::string>& lines);
[[nodiscard]] std::vector<std::string> Join(const Split& s);

// The smallest subsequence of s.actions (1-minimal: dropping any one more
// action loses the failure) for which `fails` still holds. `fails` gets
// whole scenarios; at most `maxTries` are tried.
[[nodiscard]] Split Shrink(const Split& s,
                           const std::function<bool(const std::vector<std::string>&)>& fails,
                           int maxTries, int* tries = nullptr);

}  // namespace monkey
