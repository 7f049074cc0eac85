#include "board/ratio_strip.h"
#include "board/theory_strip.h"
#include "support/recording_text_surface.h"

#include <QTest>

using namespace pokorin;
using pokorin::test::RecordingTextSurface;

Q_DECLARE_METATYPE(BinCounts)

namespace {

BinCounts Counts(std::initializer_list<int16_t> values) {
    BinCounts counts;
    int k = 1;
    for (int16_t value : values) {
        counts(k++) = value;
    }
    return counts;
}

QStringList Zeros(int n) {
    return QStringList(n, QStringLiteral("0.000"));
}

} // namespace

class StripsTest : public QObject {
    Q_OBJECT

private slots:
    void ratiosAreFormattedAgainstTheSumOfTheBins_data() {
        QTest::addColumn<BinCounts>("counts");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("one ball in bin 6")
            << Counts({0, 0, 0, 0, 0, 1}) << Zeros(5) + QStringList{"1.000"} + Zeros(5);
        QTest::newRow("one in 5, two in 7")
            << Counts({0, 0, 0, 0, 1, 0, 2})
            << Zeros(4) + QStringList{"0.333", "0.000", "0.667"} + Zeros(4);
        QTest::newRow("20 of 110")
            << Counts({0, 2, 5, 12, 19, 20, 19, 17, 10, 5, 1})
            << QStringList{"0.000", "0.018", "0.045", "0.109", "0.173", "0.182",
                           "0.173", "0.155", "0.091", "0.045", "0.009"};
        QTest::newRow("1 of 16 rounds up")
            << Counts({1, 0, 0, 0, 0, 15})
            << QStringList{"0.063"} + Zeros(4) + QStringList{"0.938"} + Zeros(5);
        QTest::newRow("3 of 80 rounds up")
            << Counts({3, 0, 0, 0, 0, 77})
            << QStringList{"0.038"} + Zeros(4) + QStringList{"0.963"} + Zeros(5);
    }
    void ratiosAreFormattedAgainstTheSumOfTheBins() {
        QFETCH(BinCounts, counts);
        QFETCH(QStringList, texts);
        RecordingTextSurface strip;
        PrintRatios(strip, counts);
        QCOMPARE(strip.shownTexts(), texts);
    }

    void ratiosStandUnderTheLeftWalls() {
        RecordingTextSurface strip;
        PrintRatios(strip, Counts({0, 0, 0, 0, 0, 1}));
        QCOMPARE(strip.operations.size(), 33);
        for (int k = 1; k <= 11; ++k) {
            const int at = 3 * (k - 1);
            QCOMPARE(strip.operations.at(at),
                     QStringLiteral("x %1").arg(7.6f + 2.0f * static_cast<float>(k)));
            QCOMPARE(strip.operations.at(at + 1), QStringLiteral("y 1"));
        }
        QVERIFY(!strip.operations.contains(QStringLiteral("clear")));
    }

    void withNoBallLandedNoRatioIsPrinted() {
        RecordingTextSurface strip;
        ResetRatioStrip(strip);
        PrintRatios(strip, BinCounts{});
        QCOMPARE(strip.shownTexts(), QStringList{"実験結果からの割合"});
    }

    void resetClearsThenPrintsTheHeadingAtOneOne() {
        RecordingTextSurface strip;
        PrintRatios(strip, Counts({1}));
        ResetRatioStrip(strip);
        QCOMPARE(strip.operations.mid(33),
                 QStringList({"clear", "x 1", "y 1", "print 実験結果からの割合"}));
        PrintRatioHeading(strip);
        QCOMPARE(strip.operations.size(), 40);
    }

    void theoryStripShowsTheBinomialProbabilities() {
        RecordingTextSurface strip;
        PrintTheoryStrip(strip);
        QStringList expected{"理論上の数学的確率"};
        long c = 1;
        for (int k = 0; k <= 10; ++k) {
            expected << QString::fromStdString(FormatRatio(c, 1024));
            c = c * (10 - k) / (k + 1);
        }
        QCOMPARE(strip.shownTexts(), expected);
        QCOMPARE(strip.operations.at(3 * 6), QStringLiteral("x 19.6"));
        QCOMPARE(strip.operations.at(3 * 6 + 2), QStringLiteral("print 0.246"));
    }
};

QTEST_GUILESS_MAIN(StripsTest)
#include "tst_strips.moc"
