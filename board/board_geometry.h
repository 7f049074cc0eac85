#pragma once

#include "core/board_point.h"

namespace pokorin {

// The board's drawing area carries 40 x 20 units. Outside it measures
// 9615 x 6015 twips with a 2-pixel sunken frame on every side.
constexpr int kBoardUnitsWide = 40;
constexpr int kBoardUnitsHigh = 20;
constexpr double kBoardFrameTwips = 2 * 15.0;
constexpr double kBoardOuterWidthTwips = 9615.0;
constexpr double kBoardOuterHeightTwips = 6015.0;
constexpr double kBoardAreaWidthTwips = kBoardOuterWidthTwips - 2 * kBoardFrameTwips;
constexpr double kBoardAreaHeightTwips = kBoardOuterHeightTwips - 2 * kBoardFrameTwips;

// A scale from a surface's units to twips; units need not be square.
struct UnitScale {
    double xTwips;
    double yTwips;
};

constexpr UnitScale kBoardScale{kBoardAreaWidthTwips / kBoardUnitsWide,
                                kBoardAreaHeightTwips / kBoardUnitsHigh};
// The strips share the board's x-unit (to within 0.001 twip) with a small y-unit.
constexpr UnitScale kStripScale{238.876, 31.501};

constexpr BoardPoint kApex{20.0f, 1.0f};
constexpr float kBaseRowY = 11.0f;
constexpr float kWallTopY = 11.5f;
constexpr float kFloorY = 19.5f;

/* 1 <= k <= 11 */
float BinLeftWall(int k);
float BinRightWall(int k);

// The ball and the stack squares are 135 twips square.
constexpr double kSquareTwips = 135.0;

/* 1 <= square <= 20; the top-left corner in board units */
BoardPoint SquareCorner(int bin, int square);

// Every strip text stands on the row y = 1; headings start at x = 1 and the
// number of bin k starts under that bin's left wall.
constexpr float kStripTextY = 1.0f;
constexpr float kStripHeadingX = 1.0f;

} // namespace pokorin
