#include "landing_statistics.h"

#include <numeric>

namespace pokorin {

std::optional<LandingStatistics> StepStatistics(const PooledCounts &counts) {
    const double balls = static_cast<double>(std::accumulate(counts.begin(), counts.end(), 0L));
    if (balls == 0) {
        return std::nullopt;
    }
    double steps = 0;
    for (int k = 1; k <= kBinTotal; ++k) {
        steps += static_cast<double>(counts.at(k - 1)) * (k - 1);
    }
    const double mean = steps / balls;
    double squares = 0;
    for (int k = 1; k <= kBinTotal; ++k) {
        squares += static_cast<double>(counts.at(k - 1)) * (k - 1 - mean) * (k - 1 - mean);
    }
    return LandingStatistics{mean, squares / balls};
}

std::optional<LandingStatistics> StepStatistics(const RunCounts &counts) {
    PooledCounts pooled{};
    std::copy(counts.begin(), counts.end(), pooled.begin());
    return StepStatistics(pooled);
}

} // namespace pokorin
