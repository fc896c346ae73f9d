// Delta debugging over a session's actions. Random clerk sessions (no Qt).
#include "shrink.h"

#include <algorithm>

namespace monkey {

namespace {

using Actions = std::vector<std::vector<std::string>>;

bool IsAnswer(const std::string& l) { return l.rfind("answer ", 0) == 0; }

}  // namespace

Split SplitSession(const std::vector<std::string>& lines) {
  Split s;
  for (const std::string& l : lines) {
    if (l.empty() || l[0] == '#') continue;
    const bool head = l == "init" || l.rfind("user ", 0) == 0 || l.rfind("niveau ", 0) == 0;
    if (head && s.actions.empty()) {
      s.header.push_back(l);
    } else if (IsAnswer(l) && !s.actions.empty()) {
      s.actions.back().push_back(l);
    } else {
      s.actions.push_back({l});
    }
  }
  return s;
}

std::vector<std::string> Join(const Split& s) {
  std::vector<std::string> out = s.header;
  for (const auto& a : s.actions) out.insert(out.end(), a.begin(), a.end());
  return out;
}

Split Shrink(const Split& s, const std::function<bool(const std::vector<std::string>&)>& fails,
             int maxTries, int* tries) {
  int used = 0;
  auto test = [&](const Actions& candidate) {
    if (used >= maxTries) return false;
    ++used;
    return fails(Join({s.header, candidate}));
  };
  Actions cur = s.actions;
  std::size_t n = 2;
  while (cur.size() >= 2 && used < maxTries) {
    const std::size_t chunk = (cur.size() + n - 1) / n;
    bool reduced = false;
    // Complements first: they drop the most actions that do not matter.
    for (std::size_t start = 0; start < cur.size() && !reduced; start += chunk) {
      Actions rest(cur.begin(), cur.begin() + static_cast<long>(start));
      rest.insert(rest.end(), cur.begin() + static_cast<long>(std::min(start + chunk, cur.size())),
                  cur.end());
      if (test(rest)) {
        cur = std::move(rest);
        n = std::max<std::size_t>(n - 1, 2);
        reduced = true;
      }
    }
    if (reduced) continue;
    if (n >= cur.size()) break;
    n = std::min(cur.size(), n * 2);
  }
  // Then one action at a time, until none can go.
  for (bool again = true; again && used < maxTries;) {
    again = false;
    for (std::size_t i = cur.size(); i-- > 0 && used < maxTries;) {
      Actions rest = cur;
      rest.erase(rest.begin() + static_cast<long>(i));
      if (test(rest)) {
        cur = std::move(rest);
        again = true;
      }
    }
  }
  if (tries) *tries = used;
  return {s.header, cur};
}

}  // namespace monkey
