#include "board_view.h"

#include "window/twips.h"

#include <QPaintEvent>
#include <QPainter>

namespace pokorin {
namespace {

const QColor kLatticeBlue(0, 0, 255);
const QColor kBinBlack(0, 0, 0);
const QColor kBallRed(255, 0, 0);

// Each slanted line is drawn three times, 0.05 units apart, to give it width.
void DrawLatticeLine(DrawingSurface &board, BoardPoint from, BoardPoint to) {
    for (float dx : {0.0f, 0.05f, -0.05f}) {
        board.line({from.x + dx, from.y}, {to.x + dx, to.y}, kLatticeBlue);
    }
}

// The ten-level lattice, whose lines are the paths a ball can take, and the
// eleven open bins under it.
void DrawLatticeAndBins(DrawingSurface &board) {
    constexpr int kLevels = 10;
    for (int k = 0; k < kLevels; ++k) {
        DrawLatticeLine(board, {kApex.x + k, kApex.y + k}, {10.0f + 2 * k, kBaseRowY});
    }
    for (int k = 0; k < kLevels; ++k) {
        DrawLatticeLine(board, {kApex.x - k, kApex.y + k}, {30.0f - 2 * k, kBaseRowY});
    }
    for (int k = 1; k <= kBinTotal; ++k) {
        const float left = BinLeftWall(k);
        const float right = BinRightWall(k);
        board.line({left, kWallTopY}, {left, kFloorY}, kBinBlack);
        board.line({right, kWallTopY}, {right, kFloorY}, kBinBlack);
        board.line({left, kFloorY}, {right, kFloorY}, kBinBlack);
    }
}

// A short rule in the board's top-left corner, under everything else: a
// leftover of the design that the picture keeps.
QRect CornerRule(const BoardView &board) {
    return QRect(board.toPixels({}).toPoint() + QPoint(0, TwipsToPixels(120)),
                 QSize(TwipsToPixels(120), 1));
}

} // namespace

BoardView::BoardView(QWidget *parent)
    : DrawingSurface(TwipsRect(0, 0, kBoardOuterWidthTwips, kBoardOuterHeightTwips).size(),
                     SurfaceFrame::Sunken, kBoardScale, parent) {
    DrawLatticeAndBins(*this);
}

void BoardView::placeBall(BoardPoint at) {
    repaintAround(squareAt(ball_));
    ball_ = at;
    repaintAround(squareAt(ball_));
}

void BoardView::setBallVisible(bool visible) {
    ballVisible_ = visible;
    repaintAround(squareAt(ball_));
}

void BoardView::showSquares(int bin, int square) {
    stacks_(bin) = static_cast<int16_t>(square);
    repaintAround(stackArea(bin));
}

void BoardView::clearStacks() {
    stacks_.clear();
    update();
}

// The ball and each square are 135 twips square, their corners placed on
// whole pixels.
QRect BoardView::squareAt(BoardPoint corner) const {
    return {toPixels(corner).toPoint(), TwipsRect(0, 0, kSquareTwips, kSquareTwips).size()};
}

QRect BoardView::stackArea(int bin) const {
    return squareAt(SquareCorner(bin, kStackCapacity)) | squareAt(SquareCorner(bin, 1));
}

// A pixel more on every side: at a fractional scale a square's edges fall
// inside device pixels.
void BoardView::repaintAround(QRect area) {
    update(area.adjusted(-1, -1, 1, 1));
}

// The squares and the ball cover the image, which is copied only around
// them, piece by piece; at a fractional scale the pieces decide on which
// pixels the lines fall, and the reviewed pictures hold those pixels.
void BoardView::paintEvent(QPaintEvent *event) {
    QList<QRect> squares;
    for (int bin = 1; bin <= kBinTotal; ++bin) {
        for (int square = 1; square <= stacks_(bin); ++square) {
            squares << squareAt(SquareCorner(bin, square));
        }
    }
    if (ballVisible_) {
        squares << squareAt(ball_);
    }
    QRegion uncovered = event->region();
    for (const QRect &square : squares) {
        uncovered -= square;
    }
    QPainter painter(this);
    paintImage(painter, uncovered);
    painter.setClipRegion(event->region());
    painter.fillRect(CornerRule(*this), palette().color(QPalette::WindowText));
    for (const QRect &square : squares) {
        painter.fillRect(square, kBallRed);
    }
}

} // namespace pokorin
