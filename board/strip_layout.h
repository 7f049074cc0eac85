#pragma once

#include "board_geometry.h"

namespace pokorin {

// Every strip text stands on the row y = 1; headings start at x = 1 and the
// value of bin k starts under that bin's left wall.
constexpr float kStripTextY = 1.0f;
constexpr float kStripHeadingX = 1.0f;

inline float StripColumn(int bin) {
    return BinLeftWall(bin);
}

} // namespace pokorin
