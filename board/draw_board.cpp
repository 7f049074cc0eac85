#include "draw_board.h"

#include "board_geometry.h"
#include "core/bin_counts.h"

namespace pokorin {
namespace {

constexpr float kStrokeOffset = 0.05f;
constexpr int kLatticeLines = 10;

void LatticeSegment(LineSurface &board, BoardPoint from, BoardPoint to) {
    for (float dx : {0.0f, kStrokeOffset, -kStrokeOffset}) {
        board.line({from.x + dx, from.y}, {to.x + dx, to.y}, kLatticeColour);
    }
}

void Bin(LineSurface &board, int k) {
    const float left = BinLeftWall(k);
    const float right = BinRightWall(k);
    board.line({left, kWallTopY}, {left, kFloorY}, kBinColour);
    board.line({right, kWallTopY}, {right, kFloorY}, kBinColour);
    board.line({left, kFloorY}, {right, kFloorY}, kBinColour);
}

} // namespace

void DrawBoard(LineSurface &board) {
    for (int k = 0; k < kLatticeLines; ++k) {
        LatticeSegment(board, {kApex.x + k, kApex.y + k}, {10.0f + 2 * k, kBaseRowY});
    }
    for (int k = 0; k < kLatticeLines; ++k) {
        LatticeSegment(board, {kApex.x - k, kApex.y + k}, {30.0f - 2 * k, kBaseRowY});
    }
    for (int k = 1; k <= kBinTotal; ++k) {
        Bin(board, k);
    }
}

} // namespace pokorin
