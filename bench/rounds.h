// The timing rounds every measurement shares: one round is one run of each
// side, back to back; the side that goes first alternates from round to
// round (A B, B A, A B ...), so that neither always finds the caches the
// other left. The ratio is taken within each round: a slow moment of the
// shared machine then hits both terms of one ratio rather than one side of
// the medians. Benchmark program (bench/).
#pragma once

#include <functional>
#include <vector>

namespace bench {

// Median and range of a series of figures.
struct Spread {
  double median = 0, min = 0, max = 0;
};

[[nodiscard]] Spread SpreadOf(std::vector<double> v);

// Elapsed seconds of `body`.
[[nodiscard]] double Seconds(const std::function<void()>& body);

struct RoundFigures {
  Spread ours, baseline, ratio;
};

// `runs` rounds numbered from 1; each side's function times its run of the
// given number and returns the time of one operation.
[[nodiscard]] RoundFigures Interleave(int runs, const std::function<double(int run)>& ours,
                                      const std::function<double(int run)>& baseline);

}  // namespace bench
