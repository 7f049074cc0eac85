#include "gap_chart_scales.h"

#include "chance_band.h"

namespace pokorin {

GapChartScales ScalesFor(const QList<GapPoint> &gaps) {
    double fewest = 10, most = 1000;
    for (const GapPoint &point : gaps) {
        fewest = std::min(fewest, static_cast<double>(point.balls));
        most = std::max(most, static_cast<double>(point.balls));
    }
    const LogScale balls(fewest, most);
    double lowest = ChanceBandFor(balls.end()).low, highest = ChanceBandFor(balls.start()).high;
    for (const GapPoint &point : gaps) {
        if (point.gap > 0) {
            lowest = std::min(lowest, point.gap);
        }
        highest = std::max(highest, point.gap);
    }
    return {balls, LogScale(lowest, std::min(highest, 1.0))};
}

} // namespace pokorin
