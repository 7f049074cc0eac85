#include "sim/drop_tick.h"
#include "sim/frozen_clock.h"
#include "sim/null_tick_view.h"
#include "sim/xoshiro_generator.h"

#include <QSet>
#include <QTest>
#include <array>
#include <cmath>

using namespace pokorin;

namespace {

constexpr int kLevels = 10;
constexpr int kBalls = 200'000;
// Chi-square critical values at p = 0.001.
constexpr double kCritical1Dof = 10.828;
constexpr double kCritical10Dof = 29.588;

// Sends a share of `rightShare` of the steps right: a generator with a bias.
class BiasedRandom final : public RandomSource {
public:
    BiasedRandom(RandomSource &fair, float rightShare)
        : fair_(fair)
        , rightShare_(rightShare) {}
    void reseed(float seed) override { fair_.reseed(seed); }
    float next() override {
        const float r = fair_.next();
        return r < rightShare_ ? 0.5f * r / rightShare_
                               : 0.5f + 0.5f * (r - rightShare_) / (1.0f - rightShare_);
    }

private:
    RandomSource &fair_;
    float rightShare_;
};

struct DropStatistics {
    std::array<long, kBinTotal> bins{};
    std::array<long, kLevels> rightsAtLevel{};
};

// Drops balls through the real tick with a clock that never moves.
DropStatistics DropBalls(RandomSource &random, int balls) {
    SimulationState state;
    NullTickView view;
    FrozenClock clock(36000.0f);
    DropTick tick(state, view, clock, random);
    DropStatistics stats;
    state.ResetSimulation();
    for (int ball = 0; ball < balls; ++ball) {
        for (int level = 0; level < kLevels; ++level) {
            tick.tick();
            stats.rightsAtLevel.at(level) += state.StepDir == 1 ? 1 : 0;
        }
        stats.bins.at(tick.tick().bin - 1) += 1;
        state.ResetSimulation(); // keeps every stack below full
    }
    return stats;
}

double Binomial10(int k) {
    double c = 1.0;
    for (int i = 1; i <= k; ++i) {
        c = c * (10 - i + 1) / i;
    }
    return c / 1024.0;
}

double BinChiSquare(const DropStatistics &stats, int balls) {
    double chi = 0.0;
    for (int k = 0; k < kBinTotal; ++k) {
        const double expected = balls * Binomial10(k);
        chi += std::pow(stats.bins.at(k) - expected, 2) / expected;
    }
    return chi;
}

double LevelChiSquare(long rights, int balls) {
    const double half = balls / 2.0;
    return 2.0 * std::pow(rights - half, 2) / half;
}

} // namespace

class RandomnessTest : public QObject {
    Q_OBJECT

private slots:
    void drawsAreUniformSinglePrecisionBelowOne() {
        XoshiroGenerator generator(1);
        for (int i = 0; i < 100'000; ++i) {
            const float r = generator.next();
            QVERIFY(r >= 0.0f && r < 1.0f);
            QCOMPARE(r * 16777216.0f, std::floor(r * 16777216.0f));
        }
    }

    void aFrozenClockNeverRestartsTheSequence() {
        XoshiroGenerator generator(7);
        QSet<float> seen;
        for (int i = 0; i < 10'000; ++i) {
            generator.reseed(1234.5f);
            seen.insert(generator.next());
        }
        QVERIFY(seen.size() > 9'990);
    }

    void reseedingMixesInsteadOfReplacingTheState() {
        XoshiroGenerator first(1);
        XoshiroGenerator second(2);
        first.reseed(100.0f);
        second.reseed(100.0f);
        QVERIFY(first.nextBits() != second.nextBits());
    }

    void aFixedSeedAndClockRepeatTheSameDraws() {
        XoshiroGenerator first(99);
        XoshiroGenerator second(99);
        for (int i = 0; i < 100; ++i) {
            first.reseed(static_cast<float>(i));
            second.reseed(static_cast<float>(i));
            QCOMPARE(first.next(), second.next());
        }
    }

    void entropySeedsDiffer() {
        XoshiroGenerator first;
        XoshiroGenerator second;
        QVERIFY(first.nextBits() != second.nextBits());
    }

    void binsAndStepsAreFairWithAFrozenClock() {
        XoshiroGenerator generator(20261206);
        const DropStatistics stats = DropBalls(generator, kBalls);
        QVERIFY2(BinChiSquare(stats, kBalls) < kCritical10Dof,
                 qPrintable(QString::number(BinChiSquare(stats, kBalls))));
        for (int level = 0; level < kLevels; ++level) {
            const double chi = LevelChiSquare(stats.rightsAtLevel.at(level), kBalls);
            QVERIFY2(chi < kCritical1Dof,
                     qPrintable(QStringLiteral("level %1: %2").arg(level).arg(chi)));
        }
    }

    // The fairness check above is only worth something if it sees a bias of
    // one percent on the same number of balls.
    void theFairnessCheckCatchesAOnePercentBias() {
        XoshiroGenerator generator(20261206);
        BiasedRandom biased(generator, 0.51f);
        const DropStatistics stats = DropBalls(biased, kBalls);
        QVERIFY(BinChiSquare(stats, kBalls) > kCritical10Dof);
        for (int level = 0; level < kLevels; ++level) {
            QVERIFY(LevelChiSquare(stats.rightsAtLevel.at(level), kBalls) > kCritical1Dof);
        }
    }
};

QTEST_GUILESS_MAIN(RandomnessTest)
#include "tst_randomness.moc"
