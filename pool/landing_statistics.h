#pragma once

#include "class_pool.h"

namespace pokorin {

// Where the balls landed, counted in steps to the right: a ball in bin k went
// right at k - 1 of the ten levels. The variance is the landed balls' own,
// their squared distances from the mean over their number, as the
// distribution's variance np(1 - p) is.
struct LandingStatistics {
    double mean = 0;
    double variance = 0;
};

// What the binomial distribution promises, np and np(1 - p).
inline constexpr double kLevels = kBinTotal - 1;
inline constexpr LandingStatistics kTheoryStatistics{kLevels / 2, kLevels / 4};

// Nothing while no ball has landed.
std::optional<LandingStatistics> StepStatistics(const PooledCounts &counts);
std::optional<LandingStatistics> StepStatistics(const RunCounts &counts);

} // namespace pokorin
