#pragma once

// board/: the board, the number strips under it and the retained surface
// both draw on, in the design's units.

#include "core/bin_counts.h"
#include "drawing_surface.h"

namespace pokorin {

// The board: the lattice and the bins drawn once into the surface's image,
// and over them, at every paint, the stacks of red squares and the ball.
class BoardView final : public DrawingSurface {
public:
    explicit BoardView(QWidget *parent);

    // Moves the ball's top-left corner to `at`, shown or hidden as it was.
    void placeBall(BoardPoint at);
    void setBallVisible(bool visible);
    // Shows squares 1 to `square` of the bin's stack, counted from the bottom.
    /* 1 <= bin <= kBinTotal, 0 <= square <= kStackCapacity */
    void showSquares(int bin, int square);
    void clearStacks();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect squareAt(BoardPoint corner) const;
    QRect stackArea(int bin) const;
    void repaintAround(QRect area);

    BoardPoint ball_;
    bool ballVisible_ = true;
    BinCounts stacks_;
};

} // namespace pokorin
