#include "sim/checked_add.h"
#include "sim/drop_tick.h"
#include "sim/frozen_clock.h"
#include "support/recording_tick_view.h"
#include "support/scripted_random.h"

#include <QTest>
#include <bit>
#include <cmath>
#include <limits>

using namespace pokorin;
using pokorin::test::RecordingTickView;
using pokorin::test::ScriptedRandom;

namespace {

// A started experiment with a scripted generator and a recording view.
struct Bench {
    explicit Bench(QList<float> draws = {ScriptedRandom::kRight})
        : random(std::move(draws)) {
        state.ResetSimulation();
    }

    // Ticks until a ball lands; returns that landing tick's result.
    TickResult dropOneBall() {
        for (;;) {
            const TickResult result = tick.tick();
            if (result.outcome != TickOutcome::Stepped) {
                return result;
            }
        }
    }

    SimulationState state;
    RecordingTickView view;
    FrozenClock clock{4321.5f};
    ScriptedRandom random;
    DropTick tick{state, view, clock, random};
};

// Draws for one ball of ten steps, bit i of `rights` sending step i right,
// plus the landing tick's unused draw.
QList<float> DrawsFor(int rights) {
    QList<float> draws;
    for (int i = 0; i < 10; ++i) {
        draws << ((rights >> i) & 1 ? ScriptedRandom::kRight : ScriptedRandom::kLeft);
    }
    return draws << ScriptedRandom::kLeft;
}

} // namespace

class DropTickTest : public QObject {
    Q_OBJECT

private slots:
    void stateStartsAtZeroAndResetsToTheApex() {
        SimulationState state;
        QCOMPARE(state.BallX, 0.0f);
        QCOMPARE(state.DropCount, int16_t{0});
        state.StepDir = 2;
        state.QuitAnswer = 7;
        state.SquareIndex = 21;
        state.BinCount(6) = 20;
        state.DropCount = 83;
        state.ResetSimulation();
        QCOMPARE(state.BallX, 19.8f);
        QCOMPARE(state.BallY, 0.9f);
        QCOMPARE(state.BinCount, BinCounts{});
        QCOMPARE(state.DropCount, int16_t{0});
        QCOMPARE(state.StepDir, int16_t{2});
        QCOMPARE(state.QuitAnswer, int16_t{7});
        QCOMPARE(state.SquareIndex, int16_t{21});
    }

    void countersRefuseToOverflow() {
        QCOMPARE(CheckedAdd(32766, 1), int16_t{32767});
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, CheckedAdd(32767, 1));
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, CheckedAdd(-32768, -1));
        BinCounts counts;
        counts(1) = 32000;
        counts(11) = 1000;
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, counts.sum());
    }

    void levelsAreWalkedInSinglePrecision() {
        float y = kStartY;
        for (int level = 0; level < 10; ++level) {
            QVERIFY(y < kLevelLimit);
            y += 1.0f;
        }
        QCOMPARE(y, 10.9f);
        QVERIFY(!(y < kLevelLimit));
        // Against the double limit the ball would still be above the base row.
        QVERIFY(static_cast<double>(y) < 10.9);
    }

    void aBallIsShownAtElevenLevelsAndLandsOnTheEleventhTick() {
        Bench bench;
        for (int n = 1; n <= 10; ++n) {
            QCOMPARE(bench.tick.tick().outcome, TickOutcome::Stepped);
        }
        QCOMPARE(bench.tick.tick().outcome, TickOutcome::Landed);
        QStringList shown;
        float y = kStartY;
        for (int n = 0; n <= 10; ++n, y += 1.0f) {
            shown << QStringLiteral("ball at %1 %2").arg(19.8f + static_cast<float>(n)).arg(y);
        }
        QCOMPARE(bench.view.effects.mid(0, 11), shown);
    }

    void landingCountsShowsOneSquareAndReturnsToTheApex() {
        Bench bench({ScriptedRandom::kRight, ScriptedRandom::kLeft}); // ends at 19.8, bin 6
        const TickResult result = bench.dropOneBall();
        QCOMPARE(result.outcome, TickOutcome::Landed);
        QCOMPARE(result.bin, 6);
        QCOMPARE(bench.view.effects.mid(11), QStringList({"caption 1", "square 1 of bin 6"}));
        QCOMPARE(bench.state.DropCount, int16_t{1});
        QCOMPARE(bench.state.BinCount(6), int16_t{1});
        QCOMPARE(bench.state.BallX, kStartX);
        QCOMPARE(bench.state.BallY, kStartY);
        bench.view.effects.clear();
        bench.tick.tick();
        QCOMPARE(bench.view.effects.first(), QStringLiteral("ball at 19.8 0.9"));
    }

    void everyTickReseedsFromTheClockThenDraws() {
        Bench bench;
        bench.dropOneBall();
        QCOMPARE(bench.random.reseeds, QList<float>(11, 4321.5f));
        QCOMPARE(bench.random.drawsMade, 11);
        QCOMPARE(bench.state.StepDir, int16_t{1}); // the landing tick drew too
    }

    void stepDirectionSplitsTheDrawAtOneHalf_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("stepDir");
        QTest::newRow("zero") << 0.0f << 1;
        QTest::newRow("just below half") << std::nextafter(0.5f, 0.0f) << 1;
        QTest::newRow("half") << 0.5f << 2;
        QTest::newRow("largest below one") << std::nextafter(1.0f, 0.0f) << 2;
    }
    void stepDirectionSplitsTheDrawAtOneHalf() {
        QFETCH(float, r);
        QFETCH(int, stepDir);
        QCOMPARE(StepDirection(r), stepDir);
    }

    void landingBinFollowsTheBounds_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<int>("bin");
        QTest::newRow("far left") << 9.8f << 1;
        QTest::newRow("just below 10") << std::nextafter(10.0f, 0.0f) << 1;
        QTest::newRow("10") << 10.0f << 2;
        QTest::newRow("middle") << 19.8f << 6;
        QTest::newRow("20") << 20.0f << 7;
        QTest::newRow("far right") << 29.8f << 11;
        QTest::newRow("30 is beyond the bins") << 30.0f << 0;
    }
    void landingBinFollowsTheBounds() {
        QFETCH(float, x);
        QFETCH(int, bin);
        QCOMPARE(LandingBin(x), bin);
    }

    void everyStepSequenceLandsInTheBinOfItsRightSteps() {
        for (int rights = 0; rights < 1024; ++rights) {
            Bench bench(DrawsFor(rights));
            const int rightSteps = std::popcount(static_cast<unsigned>(rights));
            const float expectedX = 19.8f + static_cast<float>(2 * rightSteps - 10);
            for (int n = 0; n < 10; ++n) {
                bench.tick.tick();
            }
            QVERIFY2(std::abs(bench.state.BallX - expectedX) < 1e-4f,
                     qPrintable(QString::number(rights)));
            QCOMPARE(bench.dropOneBall().bin, rightSteps + 1);
        }
    }

    void theNineteenthBallInABinIsAnOrdinaryLanding() {
        Bench bench({ScriptedRandom::kRight, ScriptedRandom::kLeft});
        bench.state.BinCount(6) = 18;
        bench.state.DropCount = 18;
        QCOMPARE(bench.dropOneBall().outcome, TickOutcome::Landed);
        QCOMPARE(bench.view.effects.mid(11), QStringList({"caption 19", "square 19 of bin 6"}));
    }

    void theTwentiethBallEndsTheRunInItsLandingTick() {
        Bench bench({ScriptedRandom::kRight, ScriptedRandom::kLeft});
        bench.state.BinCount(6) = 19;
        bench.state.BinCount(1) = 1;
        bench.state.DropCount = 20;
        const TickResult result = bench.dropOneBall();
        QCOMPARE(result.outcome, TickOutcome::Finished);
        QCOMPARE(bench.view.effects.mid(10),
                 QStringList({"ball at 19.8 10.9", "caption 21", "square 20 of bin 6", "timer off",
                              "ball hidden", "start off", "stop off", "quit on", "initialise on",
                              "ratios of 21"}));
        QCOMPARE(bench.state.BinCount(6), int16_t{20});
        QCOMPARE(bench.state.BallX, kStartX);
        QCOMPARE(bench.state.BallY, kStartY);
    }

    void aStoppedBallGoesOnFromTheLevelItReached() {
        Bench bench({ScriptedRandom::kLeft});
        for (int n = 0; n < 4; ++n) {
            bench.tick.tick();
        }
        // No tick while stopped; the next one shows the ball where it stood.
        bench.view.effects.clear();
        bench.tick.tick();
        QCOMPARE(bench.view.effects, QStringList({"ball at 15.8 4.9"}));
        QCOMPARE(bench.state.BallY, 5.9f);
    }
};

QTEST_GUILESS_MAIN(DropTickTest)
#include "tst_drop_tick.moc"
