#pragma once

#include "class_pool.h"
#include "log_scale.h"

namespace pokorin {

// The scales of the chart of the pool's gap to the theory: the pooled balls
// across, from ten balls, or fewer when the first point has fewer, to a
// thousand, or more when the pool has more; the gap up, to hold the points
// and the band of chance over those balls.
struct GapChartScales {
    LogScale balls;
    LogScale gap;
};

GapChartScales ScalesFor(const QList<GapPoint> &gaps);

} // namespace pokorin
