#pragma once

namespace pokorin {

// How far a fair board's pooled ratios stray from the theory by chance
// alone: for a pool of `balls` balls, the largest |ratio - C(10, k - 1) / 1024|
// over the bins falls below `low` in one pool of twenty and above `high` in
// one of twenty, so that nine pools of ten fall between.
struct ChanceBand {
    double low = 0;
    double high = 0;
};

/* balls > 0 */
ChanceBand ChanceBandFor(double balls);

} // namespace pokorin
