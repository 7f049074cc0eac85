#include "board/picture_box.h"
#include "support/form1_fixture.h"
#include "support/resident_memory.h"

#include <QApplication>

using namespace pokorin;
using pokorin::test::Form1Fixture;

namespace {

constexpr int kExperiments = 2000;
constexpr int kStopEvery = 173; // ticks; not a multiple of 11, so stops fall mid-ball
constexpr long kAllowedGrowth = 2 * 1024 * 1024;

// The cheap invariants, after every tick: the count adds up, the ball is on
// a level, and each stack shows exactly its count (its top square shown, the
// next one hidden).
bool InvariantsHold(const Form1Fixture &f) {
    const SimulationState &s = f.form.state();
    if (s.DropCount != s.BinCount.sum()) {
        return false;
    }
    if (!pokorin::test::IsLevelPosition(s.BallY)) {
        return false;
    }
    for (int k = 1; k <= kBinTotal; ++k) {
        const int count = s.BinCount(k);
        const Stack &stack = f.c().o.at(k - 1);
        if (count > 0 && !stack.at(count - 1)->isVisibleTo(f.c().Picture1)) {
            return false;
        }
        if (count < kStackCapacity && stack.at(count)->isVisibleTo(f.c().Picture1)) {
            return false;
        }
    }
    return true;
}

bool StacksMatchCounts(const Form1Fixture &f) {
    for (int k = 1; k <= kBinTotal; ++k) {
        if (f.visibleSquares(k) != f.form.state().BinCount(k)) {
            return false;
        }
    }
    return true;
}

void OpenAndCloseHelp(Form1Fixture &f) {
    f.c().Command5->click();
    QCoreApplication::processEvents();
    f.form.help().window()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void thousandsOfExperimentsKeepStateDisplayAndMemoryInStep() {
        Form1Fixture f;
        [[maybe_unused]] long residentAtStart = 0;
        long ticks = 0;
        for (int run = 1; run <= kExperiments; ++run) {
            f.c().Command1->click();
            while (f.form.timer().isActive()) {
                f.form.Timer1Timer();
                QVERIFY2(InvariantsHold(f), qPrintable(QStringLiteral("run %1").arg(run)));
                if (++ticks % kStopEvery == 0 && f.form.timer().isActive()) {
                    f.c().Command2->click();
                    QCOMPARE(f.c().Picture4->shownTexts().size(),
                             f.form.state().DropCount > 0 ? 12 : 1);
                    if (run % 7 == 0) {
                        OpenAndCloseHelp(f);
                    }
                    f.c().Command1->click();
                    QCOMPARE(f.enabledButtons(), QStringLiteral("stop"));
                }
            }
            QVERIFY(StacksMatchCounts(f));
            QCOMPARE(f.enabledButtons(), QStringLiteral("quit initialise"));
            f.c().Command4->click();
            QVERIFY(StacksMatchCounts(f));
            QCOMPARE(f.form.state().DropCount, int16_t{0});
            if (run == kExperiments / 10) {
                QCoreApplication::processEvents();
                residentAtStart = ResidentBytes();
            }
        }
        QCoreApplication::processEvents();
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer holds freed memory back on purpose
        const long growth = ResidentBytes() - residentAtStart;
        QVERIFY2(growth < kAllowedGrowth,
                 qPrintable(QStringLiteral("grew by %1 bytes").arg(growth)));
#endif
    }
};

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
