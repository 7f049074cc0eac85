#include "experiment.h"

namespace pokorin {

void Experiment::reset() {
    ballX = kStartX;
    ballY = kStartY;
    binCounts.clear();
    dropCount = 0;
}

} // namespace pokorin
