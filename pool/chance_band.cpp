#include "chance_band.h"

#include "core/bin_counts.h"
#include "core/ratios.h"

#include <cmath>

namespace pokorin {
namespace {

// Bin k's ratio is near normal about its chance p with spread
// sqrt(p (1 - p) / N). Taking the bins as independent, the largest gap stays
// within t with the chance prod_k (2 Phi(t / spread_k) - 1), and each factor
// is erf(t / (spread_k sqrt 2)). Every spread shrinks as 1 / sqrt N, so a
// quantile of the gap is a constant over sqrt N: for t = c / sqrt N the
// chance no longer depends on N.
double ChanceWithin(double c) {
    double chance = 1;
    for (int k = 1; k <= kBinTotal; ++k) {
        const double p = BinProbability(k);
        chance *= std::erf(c / std::sqrt(2 * p * (1 - p)));
    }
    return chance;
}

// The c that the gap stays within with `chance`, by halving: the chance
// grows with c, and a gap over 10 / sqrt N has no chance worth drawing.
double ScaledQuantile(double chance) {
    double below = 0, above = 10;
    for (int i = 0; i < 60; ++i) {
        const double middle = (below + above) / 2;
        (ChanceWithin(middle) < chance ? below : above) = middle;
    }
    return (below + above) / 2;
}

} // namespace

ChanceBand ChanceBandFor(double balls) {
    static const double low = ScaledQuantile(0.05), high = ScaledQuantile(0.95);
    return {low / std::sqrt(balls), high / std::sqrt(balls)};
}

} // namespace pokorin
