#pragma once

namespace pokorin {

// A point in twips, relative to the top-left corner of a drawing area.
struct TwipPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const TwipPoint &) const = default;
};

} // namespace pokorin
