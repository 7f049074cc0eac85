#include "board/board_view.h"
#include "board/number_strip.h"
#include "core/ratios.h"
#include "core/shown_texts.h"
#include "support/board_pixels.h"
#include "support/main_window_fixture.h"
#include "ui/japanese_setup.h"
#include "ui/quit_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>

using namespace pokorin;
using namespace pokorin::test;

namespace {

// The pointer shapes the main window is given, each with the squares its
// board shows at that moment.
struct PointerWatch final : QObject {
    explicit PointerWatch(MainWindowFixture &f)
        : f(f) {
        f.window.installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::CursorChange) {
            const QList<int> stacks = BoardPixels(*f.c().board).stacks();
            seen << QStringLiteral("%1 over %2 squares")
                        .arg(QMetaEnum::fromType<Qt::CursorShape>().valueToKey(
                            f.window.cursor().shape()))
                        .arg(std::accumulate(stacks.begin(), stacks.end(), 0));
        }
        return false;
    }
    MainWindowFixture &f;
    QStringList seen;
};

// Every ball steps right at every level, into the outermost bin.
struct AlwaysRight final : RandomSource {
    void reseed(float) override {}
    float next() override { return 0.25f; }
};

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        SetUpJapanese(*qobject_cast<QApplication *>(QCoreApplication::instance()));
    }
    void cleanup() {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            w->close();
        }
        DeleteClosedWindows();
    }

    // Tab goes to the enabled buttons in their order, then the field; Enter
    // and keypad Enter click the focused button as Space does, and a held
    // key starts one run, not many. Nothing follows the window's size.
    void theKeyboardReachesTheButtonsInTheirOrder() {
        MainWindowFixture f;
        Activate(&f.window);
        for (QWidget *next : QList<QWidget *>{f.c().quitButton, f.c().helpButton,
                                              f.c().fallSpeedField, f.c().startButton}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.enabledButtons(), QStringLiteral("stop running"));
        f.c().stopButton->setFocus();
        QTest::keyClick(f.c().stopButton, Qt::Key_Return, Qt::ShiftModifier);
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(f.c().stopButton, &held);
        QCOMPARE(f.enabledButtons(), QStringLiteral("stop running"));
        QTest::keyClick(f.c().stopButton, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(f.enabledButtons(), QStringLiteral("start quit initialise help"));
        const QRect start = f.c().startButton->geometry();
        f.window.resize(300, 200);
        QCOMPARE(f.c().startButton->geometry(), start);
    }

    void everyEventSetsTheButtonsOfItsRow_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("enabled");
        for (const char *row :
             {" -> start quit help", "start -> stop running",
              "start stop -> start quit initialise help", "start fill -> quit initialise",
              "start stop initialise -> start quit help", "start fill initialise -> start quit",
              "start fill initialise start -> stop running",
              "start fill initialise start stop -> start quit initialise help",
              "start stop help quit -> start quit initialise help",
              "start stop help back -> start quit help",
              "start stop help back start stop -> start quit initialise help",
              "help start back -> stop running", "help start fill back -> quit initialise",
              "help back -> start quit help"}) {
            const QStringList parts = QString::fromLatin1(row).split(" -> ");
            QTest::newRow(row) << parts[0] << parts[1];
        }
    }
    void everyEventSetsTheButtonsOfItsRow() {
        QFETCH(QString, events);
        QFETCH(QString, enabled);
        MainWindowFixture f;
        Activate(&f.window);
        for (const QString &event : events.split(u' ', Qt::SkipEmptyParts)) {
            f.act(event);
        }
        QCOMPARE(f.enabledButtons(), enabled);
    }

    // Stops fall mid-ball; after every tick the count adds up, and after
    // every landing the board shows each stack's count. A run goes on from
    // where it stopped, and ends by itself with one full stack, the ball
    // hidden and the ratios shown.
    void runsKeepTheDisplayInStepUntilAStackIsFull() {
        MainWindowFixture f;
        const QStringList heading{kRatioHeading};
        for (int run = 0, ticks = 0; run < 3; ++run) {
            f.act("start");
            while (f.window.tickTimer().isActive()) {
                f.window.tick();
                const Experiment &e = f.window.experiment();
                QCOMPARE(e.drops, e.bins.sum());
                QCOMPARE(f.c().dropCounter->text(), QString::number(e.drops));
                if (e.ball == kBallStart) {
                    QCOMPARE(BoardPixels(*f.c().board).stacks(),
                             QList<int>(e.bins.begin(), e.bins.end()));
                }
                if (++ticks % 173 == 0 && f.window.tickTimer().isActive()) {
                    const BoardPoint stoppedAt = e.ball;
                    f.act("stop");
                    QCOMPARE(f.c().ratioStrip->shownTexts().size(), e.drops > 0 ? 12 : 1);
                    f.c().startButton->click();
                    QCOMPARE(f.c().ratioStrip->shownTexts(), heading);
                    f.window.tick();
                    const BoardPixels board(*f.c().board);
                    QVERIFY(board.ball() && board.near(*board.ball(), stoppedAt));
                }
            }
            const Experiment &e = f.window.experiment();
            QVERIFY(!BoardPixels(*f.c().board).ball());
            QCOMPARE(std::count(e.bins.begin(), e.bins.end(), 20), 1);
            QStringList shown = heading;
            const auto ratios = RatioTexts(e.bins);
            for (const std::string &ratio : *ratios) {
                shown << QString::fromStdString(ratio);
            }
            QCOMPARE(f.c().ratioStrip->shownTexts(), shown);
            f.act("initialise");
        }
    }

    // The field is read at start only; what is not a positive number there
    // becomes 100 again. Initialise empties the stacks, the outermost too,
    // under the busy pointer, sets the arrow after them, brings the ball
    // back, and keeps the last step drawn, the field and the interval.
    void startReadsTheSpeedFieldAndInitialiseKeepsIt() {
        AlwaysRight right;
        MainWindowFixture f(&right);
        using Case = std::tuple<const char *, int, const char *>;
        for (const auto &[typed, interval, shown] :
             {Case{"abc", 100, "100"}, Case{"250ms", 250, "250ms"}}) {
            f.c().fallSpeedField->setText(QString::fromLatin1(typed));
            f.act("start");
            QCOMPARE(f.c().fallSpeedField->text(), QString::fromLatin1(shown));
            f.c().fallSpeedField->setText(QStringLiteral("7"));
            f.tickWhileRunning(12);
            QCOMPARE(f.window.tickTimer().interval(), interval);
            f.act("stop");
        }
        const Step lastStep = f.window.experiment().lastStep;
        const int squares = f.window.experiment().drops;
        PointerWatch pointer(f);
        f.act("initialise");
        pointer.seen.removeDuplicates(); // Qt tells each change twice
        QCOMPARE(pointer.seen,
                 QStringList({QStringLiteral("WaitCursor over %1 squares").arg(squares),
                              "ArrowCursor over 0 squares"}));
        QVERIFY(f.window.testAttribute(Qt::WA_SetCursor));
        const BoardPixels board(*f.c().board);
        QVERIFY(board.ball() && board.near(*board.ball(), kBallStart));
        QCOMPARE(f.window.experiment().lastStep, lastStep);
        QCOMPARE(f.c().fallSpeedField->text(), QStringLiteral("7"));
        QCOMPARE(f.window.tickTimer().interval(), 250);
    }

    // Each chime sounds before its command changes anything. Quit answered
    // No leaves all as it was; Yes closes every window.
    void commandsChimeFirstThenAct() {
        MainWindowFixture f;
        f.answers = {false, false, true};
        f.act("start");
        f.act("stop");
        QStringList heard; // what the screen shows at each chime
        f.onSound = [&] {
            heard << QStringLiteral("asked %1, ratios %2, count %3, help %4")
                         .arg(f.asked)
                         .arg(f.c().ratioStrip->shownTexts().size())
                         .arg(f.c().dropCounter->text() != "0")
                         .arg(f.window.help().window() != nullptr);
        };
        for (const char *command : {"quit", "initialise", "help", "quit"}) {
            f.act(command);
            QVERIFY(f.window.isVisible());
        }
        QCOMPARE(heard,
                 QStringList(
                     {"asked 0, ratios 12, count 1, help 0", "asked 1, ratios 12, count 1, help 0",
                      "asked 1, ratios 1, count 0, help 0", "asked 1, ratios 1, count 0, help 1"}));
        QCOMPARE(f.cues, QList<ChimeCue>({ChimeCue::Closing, ChimeCue::Door, ChimeCue::Door,
                                          ChimeCue::Closing}));
        f.act("quit");
        DeleteClosedWindows();
        QVERIFY(!f.window.isVisible() && f.window.help().window() == nullptr);
    }

    // Yes is the default; closing the box is no Yes. While the box asks, the
    // help window takes no click; once it is answered, it does.
    void theQuitBoxHoldsTheWholeProgramUntilAnswered() {
        HelpLauncher help;
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(help.window()));
        const auto clickClose = [&help] {
            QTest::mouseClick(help.window()->windowHandle(), Qt::LeftButton, {},
                              help.window()->closeButton()->geometry().center());
            DeleteClosedWindows();
        };
        QWidget mainWindow; // the box's parent, as in the program
        mainWindow.show();
        QuitBox quitBox;
        QList<bool> answers;
        for (const bool yes : {false, true}) {
            quitBox.ask(&mainWindow, [&answers](bool answer) { answers << answer; });
            QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
            QCOMPARE(QApplication::activeModalWidget()->windowTitle(), QString(kQuitBoxTitle));
            clickClose();
            QVERIFY(help.window() != nullptr);
            if (yes) {
                QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
            } else {
                QApplication::activeModalWidget()->close();
            }
        }
        QCOMPARE(answers, QList<bool>({false, true}));
        clickClose();
        QVERIFY(help.window() == nullptr);
    }

    // Activation places the ball where the experiment has it, one level on
    // after a stop, but only on coming back from the help window.
    void activationRepeatsOnlyOnComingBackFromTheHelpWindow() {
        MainWindowFixture f;
        Activate(&f.window);
        f.act("start");
        f.act("stop");
        const std::optional<QPointF> shown = BoardPixels(*f.c().board).ball();
        QSignalSpy activations(&f.window, &MainWindow::activated);
        QWidget other; // another application's window, as far as the program knows
        other.show();
        Activate(&other);
        Activate(&f.window);
        QCOMPARE(BoardPixels(*f.c().board).ball(), shown);
        f.act("help");
        f.act("back");
        QCOMPARE(activations.size(), 1);
        QCOMPARE(f.c().ratioStrip->shownTexts().size(), 12); // the ratios stay
        const BoardPixels board(*f.c().board);
        QVERIFY(board.ball() != shown);
        QVERIFY(board.near(*board.ball(), f.window.experiment().ball));
    }

    void theHelpWindowPrintsItsTextWordForWordAndComesBackWhenCalled() {
        MainWindowFixture f;
        f.act("help");
        HelpWindow *help = f.window.help().window();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QCOMPARE(help->windowTitle(), QString(kHelpWindowTitle));
        QCOMPARE(QApplication::focusWidget(), help->closeButton());
        const QStringList text(kHelpLines.begin(), kHelpLines.end());
        QCOMPARE(help->textSurface()->shownTexts(), text);
        const QImage first = help->textSurface()->grab().toImage();
        help->showMinimized(); // HELP brings the one window back, active, with its text again
        Activate(&f.window);
        f.act("help");
        QCOMPARE(f.window.help().window(), help);
        QVERIFY(!help->isMinimized() && QTest::qWaitForWindowActive(help));
        QCOMPARE(help->textSurface()->shownTexts(), text);
        QCOMPARE(help->textSurface()->grab().toImage(), first);
        help->move(400, 300); // closed for good, and made anew at its first place
        QTest::keyClick(help->closeButton(), Qt::Key_Enter, Qt::KeypadModifier);
        DeleteClosedWindows();
        QVERIFY(f.window.help().window() == nullptr);
        f.act("help");
        QCOMPARE(f.window.help().window()->geometry(), HelpWindow::firstGeometry());
        f.window.close(); // the help window does not outlive the main window
        DeleteClosedWindows();
        QVERIFY(f.window.help().window() == nullptr);
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
