#include "rounds.h"

#include <algorithm>
#include <chrono>

namespace bench {

Spread SpreadOf(std::vector<double> v) {
  if (v.empty()) return {};
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  const double median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  return {median, v.front(), v.back()};
}

double Seconds(const std::function<void()>& body) {
  const auto start = std::chrono::steady_clock::now();
  body();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

RoundFigures Interleave(int runs, const std::function<double(int run)>& ours,
                        const std::function<double(int run)>& baseline) {
  std::vector<double> o, b, r;
  for (int run = 1; run <= runs; ++run) {
    double tOurs = 0, tBase = 0;
    if (run % 2) {
      tOurs = ours(run);
      tBase = baseline(run);
    } else {
      tBase = baseline(run);
      tOurs = ours(run);
    }
    o.push_back(tOurs);
    b.push_back(tBase);
    r.push_back(tBase > 0 ? tOurs / tBase : 0);
  }
  return {SpreadOf(o), SpreadOf(b), SpreadOf(r)};
}

}  // namespace bench
