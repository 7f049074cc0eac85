#include "board_geometry.h"

namespace pokorin {

float BinLeftWall(int k) {
    return static_cast<float>(7.6 + 2 * k);
}

float BinRightWall(int k) {
    return static_cast<float>(8.9 + 2 * k);
}

// The squares are laid out in twips, 480 apart across and 120 up.
BoardPoint SquareCorner(int bin, int square) {
    const double x = 2400.0 + 480.0 * (bin - 1);
    const double y = 5640.0 - 120.0 * (square - 1);
    return {static_cast<float>(x / kBoardScale.xTwips), static_cast<float>(y / kBoardScale.yTwips)};
}

} // namespace pokorin
