#include "experiment.h"

namespace pokorin {

void Experiment::reset() {
    ball = kBallStart;
    bins.clear();
    drops = 0;
}

} // namespace pokorin
