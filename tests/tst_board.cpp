#include "board/board_geometry.h"
#include "board/draw_board.h"
#include "board/twips.h"
#include "sim/simulation_state.h"

#include <QTest>
#include <vector>

using namespace pokorin;

namespace {

struct Stroke {
    BoardPoint from;
    BoardPoint to;
    Rgb colour;
    bool operator==(const Stroke &) const = default;
};

class RecordingLineSurface final : public LineSurface {
public:
    std::vector<Stroke> strokes;
    void line(BoardPoint from, BoardPoint to, Rgb colour) override {
        strokes.push_back({from, to, colour});
    }
};

std::vector<Stroke> DrawnStrokes() {
    RecordingLineSurface surface;
    DrawBoard(surface);
    return surface.strokes;
}

bool LatticeSegmentJoins(const std::vector<Stroke> &strokes, BoardPoint a, BoardPoint b) {
    for (const Stroke &s : strokes) {
        if (s.colour != kLatticeColour) {
            continue;
        }
        const float dx = s.to.x - s.from.x;
        const float dy = s.to.y - s.from.y;
        const auto onSegment = [&](BoardPoint p) {
            const float t = (p.y - s.from.y) / dy;
            return t >= 0.0f && t <= 1.0f && std::abs(s.from.x + t * dx - p.x) < 1e-4f;
        };
        if (onSegment(a) && onSegment(b)) {
            return true;
        }
    }
    return false;
}

} // namespace

class BoardTest : public QObject {
    Q_OBJECT

private slots:
    void theBoardIsDrawnWithNinetyThreeStrokes() {
        const auto strokes = DrawnStrokes();
        QCOMPARE(strokes.size(), std::size_t{93});
        QCOMPARE(strokes, DrawnStrokes());
    }

    void latticeSegmentsComeInOrderAsThreeOffsetStrokes_data() {
        QTest::addColumn<int>("segment");
        QTest::addColumn<float>("x1");
        QTest::addColumn<float>("y1");
        QTest::addColumn<float>("x2");
        QTest::addColumn<float>("y2");
        for (int k = 0; k < 10; ++k) {
            QTest::addRow("down-left %d", k)
                << k << 20.0f + k << 1.0f + k << 10.0f + 2 * k << 11.0f;
        }
        QTest::addRow("shortest down-left") << 9 << 29.0f << 10.0f << 28.0f << 11.0f;
        for (int k = 0; k < 10; ++k) {
            QTest::addRow("down-right %d", k)
                << 10 + k << 20.0f - k << 1.0f + k << 30.0f - 2 * k << 11.0f;
        }
        QTest::addRow("shortest down-right") << 19 << 11.0f << 10.0f << 12.0f << 11.0f;
    }
    void latticeSegmentsComeInOrderAsThreeOffsetStrokes() {
        QFETCH(int, segment);
        QFETCH(float, x1);
        QFETCH(float, y1);
        QFETCH(float, x2);
        QFETCH(float, y2);
        const auto strokes = DrawnStrokes();
        const float offsets[] = {0.0f, 0.05f, -0.05f};
        for (int i = 0; i < 3; ++i) {
            const Stroke expected{{x1 + offsets[i], y1}, {x2 + offsets[i], y2}, QBColor(9)};
            QCOMPARE(strokes.at(static_cast<std::size_t>(3 * segment + i)), expected);
        }
    }

    void binsAreDrawnOnceInBlack() {
        const auto strokes = DrawnStrokes();
        for (int k = 1; k <= 11; ++k) {
            const float left = 7.6f + 2.0f * static_cast<float>(k);
            const float right = 8.9f + 2.0f * static_cast<float>(k);
            const auto at = [&](int i) {
                return strokes.at(static_cast<std::size_t>(60 + 3 * (k - 1) + i));
            };
            QCOMPARE(at(0), (Stroke{{left, 11.5f}, {left, 19.5f}, QBColor(0)}));
            QCOMPARE(at(1), (Stroke{{right, 11.5f}, {right, 19.5f}, QBColor(0)}));
            QCOMPARE(at(2), (Stroke{{left, 19.5f}, {right, 19.5f}, QBColor(0)}));
        }
        QCOMPARE(BinLeftWall(1), 9.6f);
        QCOMPARE(BinRightWall(11), 30.9f);
    }

    void theLatticeJoinsEveryNodeToBothSuccessors() {
        const auto strokes = DrawnStrokes();
        for (int level = 0; level < 10; ++level) {
            for (int i = 0; i <= level; ++i) {
                const BoardPoint node{static_cast<float>(20 - level + 2 * i),
                                      static_cast<float>(1 + level)};
                QVERIFY(LatticeSegmentJoins(strokes, node, {node.x - 1, node.y + 1}));
                QVERIFY(LatticeSegmentJoins(strokes, node, {node.x + 1, node.y + 1}));
            }
        }
    }

    void nothingIsDrawnAboveTheApexOrBetweenBaseAndWalls() {
        for (const Stroke &s : DrawnStrokes()) {
            for (float y : {s.from.y, s.to.y}) {
                QVERIFY(y >= 1.0f);
                QVERIFY(!(y > 11.0f && y < 11.5f));
            }
        }
    }

    void paletteGivesBlueLatticeAndBlackBins() {
        QCOMPARE(kLatticeColour, (Rgb{0, 0, 255}));
        QCOMPARE(kBinColour, (Rgb{0, 0, 0}));
        QCOMPARE(QBColor(15), (Rgb{255, 255, 255}));
    }

    void boardUnitsMatchTheDesignSize() {
        QCOMPARE(kBoardScale.xTwips, 238.875);
        QCOMPARE(kBoardScale.yTwips, 297.75);
        QVERIFY(std::abs(kStripScale.xTwips - kBoardScale.xTwips) < 0.0011);
        QCOMPARE(TwipsToPixels(9840), 656);
        QCOMPARE(TwipsToPixels(135), 9);
        const TwipPoint corner = UnitsToTwips({40.0f, 20.0f}, kBoardScale);
        QCOMPARE(corner, (TwipPoint{kBoardAreaWidthTwips, kBoardAreaHeightTwips}));
    }

    void theBallStartsOverTheApex() {
        QCOMPARE(kStartX + 0.2f, kApex.x);
        QCOMPARE(kStartY + 0.1f, kApex.y);
        const TwipPoint ball = UnitsToTwips({kStartX, kStartY}, kBoardScale);
        QVERIFY(std::abs(ball.x - 4729.725) < 0.01);
    }

    void everySquareStandsInsideItsBin() {
        const float squareWidth = TwipsToUnits({kSquareTwips, kSquareTwips}, kBoardScale).x;
        const float squareHeight = TwipsToUnits({kSquareTwips, kSquareTwips}, kBoardScale).y;
        for (int k = 1; k <= 11; ++k) {
            for (int i = 1; i <= 20; ++i) {
                const BoardPoint corner = TwipsToUnits(SquareTwips(k, i), kBoardScale);
                QVERIFY(corner.x > BinLeftWall(k));
                QVERIFY(corner.x + squareWidth < BinRightWall(k));
                QVERIFY(corner.y + squareHeight < kFloorY);
            }
            const BoardPoint bottom = TwipsToUnits(SquareTwips(k, 1), kBoardScale);
            QVERIFY(std::abs(kFloorY - (bottom.y + squareHeight) - 0.1f) < 0.01f);
        }
        const BoardPoint first = TwipsToUnits(SquareTwips(1, 1), kBoardScale);
        QVERIFY(std::abs(first.x - 10.047f) < 0.001f && std::abs(first.y - 18.942f) < 0.001f);
        const BoardPoint top = TwipsToUnits(SquareTwips(11, 20), kBoardScale);
        QCOMPARE(SquareTwips(11, 20), (TwipPoint{7200, 3360}));
        QVERIFY(std::abs(top.y - 11.28f) < 0.01f);
    }
};

QTEST_GUILESS_MAIN(BoardTest)
#include "tst_board.moc"
