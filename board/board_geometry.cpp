#include "board_geometry.h"

namespace pokorin {

TwipPoint UnitsToTwips(BoardPoint point, UnitScale scale) {
    return {point.x * scale.xTwips, point.y * scale.yTwips};
}

BoardPoint TwipsToUnits(TwipPoint point, UnitScale scale) {
    return {static_cast<float>(point.x / scale.xTwips), static_cast<float>(point.y / scale.yTwips)};
}

float BinLeftWall(int k) {
    return static_cast<float>(7.6 + 2 * k);
}

float BinRightWall(int k) {
    return static_cast<float>(8.9 + 2 * k);
}

BoardPoint BinEntry(int k) {
    return {static_cast<float>(8 + 2 * k), kBaseRowY};
}

TwipPoint SquareTwips(int bin, int square) {
    return {2400.0 + 480.0 * (bin - 1), 5640.0 - 120.0 * (square - 1)};
}

} // namespace pokorin
