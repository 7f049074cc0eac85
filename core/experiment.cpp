#include "experiment.h"

#include <algorithm>

namespace pokorin {

void Experiment::reset() {
    ball = kBallStart;
    bins.clear();
    drops = 0;
}

bool Experiment::hasFullStack() const {
    return std::find(bins.begin(), bins.end(), kStackCapacity) != bins.end();
}

} // namespace pokorin
