#include "core/checked_add.h"
#include "core/drop_tick.h"
#include "core/fall_speed.h"
#include "core/frozen_clock.h"
#include "core/null_tick_view.h"
#include "core/ratios.h"
#include "core/xoshiro_generator.h"
#include "support/scripted_random.h"

#include <QTest>
#include <bit>
#include <cmath>
#include <vector>

using namespace pokorin;
using pokorin::test::ScriptedRandom;

namespace {

// Writes every effect of the tick down as one line, in order.
class RecordingView final : public TickView {
public:
    QStringList effects;

    void showBallAt(float x, float y) override {
        effects << QStringLiteral("ball at %1 %2").arg(x).arg(y);
    }
    void setDropCountCaption(const std::string &caption) override {
        effects << "caption " + QString::fromStdString(caption);
    }
    void showSquare(int bin, int square) override {
        effects << QStringLiteral("square %1 of bin %2").arg(square).arg(bin);
    }
    void disableTimer() override { effects << "timer off"; }
    void hideBall() override { effects << "ball hidden"; }
    void setButtonEnabled(RunButton button, bool enabled) override {
        static const char *const names[] = {"start", "stop", "quit", "initialise", "help"};
        effects << QLatin1String(names[static_cast<int>(button)]) + (enabled ? " on" : " off");
    }
    void printRatios(const BinCounts &counts) override {
        effects << QStringLiteral("ratios of %1").arg(counts.sum());
    }
};

// A started experiment with scripted draws, a frozen clock and a recording view.
struct ScriptedRun {
    explicit ScriptedRun(QList<float> draws)
        : random(std::move(draws)) {
        state.reset();
    }

    TickResult dropOneBall() {
        TickResult result{};
        do {
            result = tick.tick();
        } while (result.outcome == TickOutcome::Stepped);
        return result;
    }

    Experiment state;
    RecordingView view;
    FrozenClock clock{4321.5f};
    ScriptedRandom random;
    DropTick tick{state, view, clock, random};
};

// The draws of one ball whose step i goes right when bit i of `rights` is set.
QList<float> DrawsFor(int rights) {
    QList<float> draws;
    for (int i = 0; i < 10; ++i) {
        draws << ((rights >> i) & 1 ? ScriptedRandom::kRight : ScriptedRandom::kLeft);
    }
    return draws << ScriptedRandom::kLeft; // the landing tick draws too
}

double ChiSquare(const std::vector<double> &observed, const std::vector<double> &expected) {
    double chi = 0.0;
    for (std::size_t i = 0; i < observed.size(); ++i) {
        chi += std::pow(observed[i] - expected[i], 2) / expected[i];
    }
    return chi;
}

} // namespace

class CoreTest : public QObject {
    Q_OBJECT

private slots:
    void countersRefuseToOverflow() {
        QCOMPARE(CheckedAdd(32766, 1), int16_t{32767});
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, CheckedAdd(32767, 1));
        BinCounts counts;
        counts(1) = 32000;
        counts(11) = 1000;
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, counts.sum());
    }

    void aBallIsShownAtElevenLevelsLandsThenStartsAgainAtTheApex() {
        ScriptedRun e({ScriptedRandom::kRight, ScriptedRandom::kLeft});
        QCOMPARE(e.dropOneBall().bin, 6);
        QStringList expected;
        float y = 0.9f;
        for (int n = 0; n <= 10; ++n, y += 1.0f) {
            expected << QStringLiteral("ball at %1 %2").arg(n % 2 == 0 ? 19.8f : 20.8f).arg(y);
        }
        expected << "caption 1"
                 << "square 1 of bin 6";
        QCOMPARE(e.view.effects, expected);
        QCOMPARE(e.random.reseeds, QList<float>(11, 4321.5f));
        QCOMPARE(e.state.stepDirection, int16_t{1}); // drawn in the landing tick too
        e.view.effects.clear();
        e.tick.tick();
        QCOMPARE(e.view.effects.first(), QStringLiteral("ball at 19.8 0.9"));
    }

    void drawsSplitAtOneHalfAndBinsFollowTheirBounds() {
        QCOMPARE(StepDirection(std::nextafter(0.5f, 0.0f)), 1);
        QCOMPARE(StepDirection(0.5f), 2);
        QCOMPARE(StepDirection(std::nextafter(1.0f, 0.0f)), 2);
        QCOMPARE(LandingBin(10.0f), 2);
        QCOMPARE(LandingBin(30.0f), 0);
    }

    void everyStepSequenceLandsInTheBinOfItsRightSteps() {
        for (int rights = 0; rights < 1024; ++rights) {
            ScriptedRun e(DrawsFor(rights));
            const int rightSteps = std::popcount(static_cast<unsigned>(rights));
            QCOMPARE(e.dropOneBall().bin, rightSteps + 1);
            QCOMPARE(e.view.effects.at(10),
                     QStringLiteral("ball at %1 10.9").arg(9.8f + 2.0f * rightSteps));
        }
    }

    void theTwentiethBallEndsTheRunInItsLandingTick() {
        ScriptedRun e({ScriptedRandom::kRight, ScriptedRandom::kLeft});
        e.state.binCounts(6) = 18;
        e.state.binCounts(1) = 1;
        e.state.dropCount = 19;
        QCOMPARE(e.dropOneBall().outcome, TickOutcome::Landed);
        QCOMPARE(e.view.effects.mid(11), QStringList({"caption 20", "square 19 of bin 6"}));
        e.view.effects.clear();
        QCOMPARE(e.dropOneBall().outcome, TickOutcome::Finished);
        QCOMPARE(
            e.view.effects.mid(11),
            QStringList({"caption 21", "square 20 of bin 6", "timer off", "ball hidden",
                         "start off", "stop off", "quit on", "initialise on", "ratios of 21"}));
        QCOMPARE(e.state.ballX, 19.8f);
        QCOMPARE(e.state.ballY, 0.9f);
    }

    // A clock that never moves is the worst case for a tick that reseeds
    // from it: every level must still go right half the time, and the bins
    // must follow C(10, k) / 1024 (chi-square at p = 0.001).
    void stepsAreFairAndIndependentWithAFrozenClock() {
        constexpr int kBalls = 200'000;
        Experiment state;
        NullTickView view;
        FrozenClock clock(36000.0f);
        XoshiroGenerator random(20261206);
        DropTick tick(state, view, clock, random);
        std::vector<double> bins(11), rights(10), expectedBins(11);
        for (int ball = 0; ball < kBalls; ++ball) {
            state.reset(); // keeps every stack below full
            for (int level = 0; level < 10; ++level) {
                tick.tick();
                rights[level] += state.stepDirection == 1 ? 1 : 0;
            }
            bins[tick.tick().bin - 1] += 1;
        }
        double c = 1.0;
        for (int k = 0; k <= 10; c = c * (10 - k) / (k + 1), ++k) {
            expectedBins[k] = kBalls * c / 1024.0;
        }
        QVERIFY(XoshiroGenerator().nextBits() != XoshiroGenerator().nextBits()); // seeded afresh
        QVERIFY2(ChiSquare(bins, expectedBins) < 29.588,
                 qPrintable(QString::number(ChiSquare(bins, expectedBins))));
        for (double r : rights) {
            QVERIFY(ChiSquare({r, kBalls - r}, {kBalls / 2.0, kBalls / 2.0}) < 10.828);
        }
    }

    // Halfway cases round up: exact integers, where a binary double would
    // round 3 of 80 down.
    void ratiosHaveThreePlacesAgainstTheSumOfTheBins() {
        using Case = std::tuple<long, long, const char *>;
        for (const auto &[count, total, text] :
             {Case{1, 1, "1.000"}, Case{0, 3, "0.000"}, Case{1, 3, "0.333"}, Case{2, 3, "0.667"},
              Case{20, 110, "0.182"}, Case{1, 16, "0.063"}, Case{3, 80, "0.038"},
              Case{77, 80, "0.963"}}) {
            QCOMPARE(FormatRatio(count, total), std::string(text));
        }
        QVERIFY(!RatioTexts(BinCounts{})); // no ball landed: no ratio to show
    }

    void speedTextsGiveTheirIntervals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval"); // 0: back to 100 ms, and the field to "100"
        QStringList rows =
            QStringLiteral(
                "100=100|250ms=250|1E3=1000|abc=0|=0|0=0|-5=0|12.5=12|13.5=14|0.5=1| \t42abc=42|"
                "２５０ｍｓ=250|　１．５Ｅ１=15|－３=0|0x10=0|Infinity=0|1,000=1|1.2.3=1|2e+=2|.=0|"
                "1e-999=0|1e999=2147483647|-1e999=0|2147483648=2147483647")
                .split(u'|');
        rows << QString(100'000, u'9') + "=2147483647"
             << "1e" + QString(100'000, u'0') + "2=100" << QString(QChar(0xD800)) + "5=0";
        for (const QString &row : rows) {
            const qsizetype split = row.lastIndexOf(u'=');
            QTest::newRow(qPrintable(row.left(std::min<qsizetype>(split, 12))))
                << row.left(split) << row.mid(split + 1).toInt();
        }
    }
    void speedTextsGiveTheirIntervals() {
        QFETCH(QString, text);
        QFETCH(int, interval);
        const FallSpeed speed = ReadFallSpeed(text);
        QCOMPARE(speed.intervalMs, interval == 0 ? 100 : interval);
        QCOMPARE(speed.resetText, interval == 0);
    }
};

QTEST_GUILESS_MAIN(CoreTest)
#include "tst_core.moc"
