#include "core/drop_tick.h"
#include "core/fall_speed.h"
#include "core/frozen_clock.h"
#include "core/ratios.h"
#include "core/xoshiro_generator.h"

#include <QTest>
#include <bit>
#include <cmath>
#include <vector>

using namespace pokorin;
using Kind = TickEvent::Kind;

namespace {

// Plays back a list of draws in a loop and remembers every reseed.
struct ScriptedRandom final : RandomSource {
    static constexpr float kRight = 0.25f;
    static constexpr float kLeft = 0.75f;
    explicit ScriptedRandom(QList<float> scripted)
        : draws(std::move(scripted)) {}
    void reseed(float seed) override { reseeds << seed; }
    float next() override { return draws.at(drawsMade++ % draws.size()); }
    QList<float> draws, reseeds;
    qsizetype drawsMade = 0;
};

// A started experiment with scripted draws and a frozen clock.
struct ScriptedRun {
    explicit ScriptedRun(QList<float> draws)
        : random(std::move(draws)) {
        experiment.reset();
    }

    // The events of one ball, its landing last.
    QList<TickEvent> dropOneBall() {
        QList<TickEvent> events{tick.tick()};
        while (events.last().kind == Kind::Stepped) {
            events << tick.tick();
        }
        return events;
    }

    Experiment experiment;
    FrozenClock clock{4321.5f};
    ScriptedRandom random;
    DropTick tick{experiment, clock, random};
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
    void drawsSplitAtOneHalfAndBinsFollowTheirBounds() {
        QCOMPARE(StepFor(std::nextafter(0.5f, 0.0f)), Step::Right);
        QCOMPARE(StepFor(0.5f), Step::Left);
        QCOMPARE(StepFor(std::nextafter(1.0f, 0.0f)), Step::Left);
        QCOMPARE(LandingBin(10.0f), 2);
    }

    // A ball is shown at eleven levels, one step on each time, reseeded from
    // the clock at every tick, and lands in the bin of its right steps; the
    // landing tick draws too, and the next tick shows a new ball at the apex.
    void everyStepSequenceLandsInTheBinOfItsRightSteps() {
        for (int rights = 0; rights < 1024; ++rights) {
            ScriptedRun run(DrawsFor(rights));
            const QList<TickEvent> events = run.dropOneBall();
            QCOMPARE(events.size(), 11);
            for (int n = 0, x = 0; n <= 10; x += (rights >> n++) & 1 ? 1 : -1) {
                QCOMPARE(events[n].ballShownAt.y, 0.9f + static_cast<float>(n));
                QVERIFY(std::abs(events[n].ballShownAt.x - (19.8f + static_cast<float>(x))) <
                        1e-4f);
            }
            QCOMPARE(events.last().bin, std::popcount(static_cast<unsigned>(rights)) + 1);
            QCOMPARE(events.last().square, 1);
            QCOMPARE(run.random.reseeds, QList<float>(11, 4321.5f));
            QCOMPARE(run.experiment.lastStep, Step::Left);
            QCOMPARE(run.tick.tick().ballShownAt, kBallStart);
        }
    }

    // A clock that never moves is the worst case for a tick that reseeds
    // from it: every level must still go right half the time, and the bins
    // must follow C(10, k) / 1024 (chi-square at p = 0.001).
    void stepsAreFairAndIndependentWithAFrozenClock() {
        constexpr int kBalls = 200'000;
        Experiment experiment;
        FrozenClock clock(36000.0f);
        XoshiroGenerator random(20261206);
        DropTick tick(experiment, clock, random);
        std::vector<double> bins(11), rights(10), expectedBins(11);
        for (int ball = 0; ball < kBalls; ++ball) {
            experiment.reset(); // keeps every stack below full
            for (int level = 0; level < 10; ++level) {
                tick.tick();
                rights[level] += experiment.lastStep == Step::Right ? 1 : 0;
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
    // round 3 of 80 down. The denominator is the sum of the bins.
    void ratiosHaveThreePlacesAgainstTheSumOfTheBins() {
        using Case = std::tuple<long, long, const char *>;
        for (const auto &[count, total, text] :
             {Case{1, 1, "1.000"}, Case{0, 3, "0.000"}, Case{1, 3, "0.333"}, Case{2, 3, "0.667"},
              Case{20, 110, "0.182"}, Case{1, 16, "0.063"}, Case{3, 80, "0.038"},
              Case{77, 80, "0.963"}}) {
            QCOMPARE(FormatRatio(count, total), std::string(text));
        }
        QVERIFY(!RatioTexts(BinCounts{})); // no ball landed: no ratio to show
        BinCounts counts;
        counts(5) = 1;
        counts(7) = 2;
        QCOMPARE(RatioTexts(counts)->at(6), "0.667");
    }

    void speedTextsGiveTheirIntervals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval"); // 0: back to 100 ms, and the field to "100"
        // clang-format off
        const std::initializer_list<std::pair<QString, int>> rows{
            {"100", 100}, {"250ms", 250}, {"1E3", 1000}, {"abc", 0}, {"", 0}, {"0", 0}, {"-5", 0},
            {"12.5", 12}, {"13.5", 14}, {"0.5", 1}, {" \t42abc", 42}, {"２５０ｍｓ", 250},
            {"　１．５Ｅ１", 15}, {"－３", 0}, {"0x10", 0}, {"Infinity", 0}, {"1,000", 1},
            {"1.2.3", 1}, {"2e+", 2}, {".", 0}, {"1e-999", 0}, {"1e999", 2147483647}, {"-1e999", 0},
            {"2147483648", 2147483647}, {QString(100'000, u'9'), 2147483647},
            {"1e" + QString(100'000, u'0') + "2", 100}, {QString(QChar(0xD800)) + "5", 0}};
        // clang-format on
        for (const auto &[text, interval] : rows) {
            QTest::newRow(qPrintable(text.left(12))) << text << interval;
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
