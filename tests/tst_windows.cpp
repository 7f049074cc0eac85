#include "board/board_view.h"
#include "board/number_strip.h"
#include "core/ratios.h"
#include "support/main_window_fixture.h"
#include "support/scripted_random.h"
#include "ui/japanese_setup.h"
#include "ui/quit_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>

using namespace pokorin;
using pokorin::test::Activate;
using pokorin::test::MainWindowFixture;
using pokorin::test::ScriptedRandom;

namespace {

const QString kHeading = QStringLiteral("実験結果からの割合");

// Plays one user event on the window: a click, a run until a stack is full,
// or a trip to the help window and back.
void Play(MainWindowFixture &f, const QString &event) {
    if (QPushButton *button = f.button(event)) {
        button->click();
        f.tickWhileRunning(event == "start" ? 25 : 0);
    } else if (event == "fill") {
        f.tickWhileRunning(MainWindowFixture::kTicksToFillAStack);
    } else if (event == "back") {
        Activate(f.window.help().window());
        Activate(&f.window);
    }
}

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

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

    void startUpShowsTheReadyBoardInJapanese() {
        MainWindowFixture f;
        QCOMPARE(f.window.windowTitle(), QStringLiteral(" ポコリンの落下の実験"));
        QCOMPARE(f.window.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
        Activate(&f.window); // tab goes to the enabled buttons in their order, then the field
        for (QWidget *next : QList<QWidget *>{f.c().quitButton, f.c().helpButton,
                                              f.c().fallSpeedField, f.c().startButton}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        const QRect start = f.c().startButton->geometry();
        f.window.resize(300, 200); // nothing follows the window's size
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
              "start stop help back -> start quit initialise help",
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
            Play(f, event);
        }
        QCOMPARE(f.enabledButtons() + (f.window.timer().isActive() ? " running" : ""), enabled);
    }

    // Stops fall mid-ball; after every tick the count adds up, the ball is
    // on a level and each stack shows its count. A run goes on from where
    // it stopped, and ends by itself with one full stack and its ratios.
    void runsKeepTheDisplayInStepUntilAStackIsFull() {
        MainWindowFixture f;
        for (int run = 0, ticks = 0; run < 3; ++run) {
            Play(f, "start");
            while (f.window.timer().isActive()) {
                f.window.tick();
                const Experiment &s = f.window.experiment();
                QCOMPARE(s.drops, s.bins.sum());
                QCOMPARE(f.c().dropCounter->text(), QString::number(s.drops));
                for (int k = 1; k <= 11; ++k) {
                    QCOMPARE(f.c().board->stackHeight(k), int{s.bins(k)});
                }
                if (++ticks % 173 == 0 && f.window.timer().isActive()) {
                    const Experiment stopped = s;
                    Play(f, "stop");
                    QCOMPARE(f.c().ratioStrip->shownTexts().size(), s.drops > 0 ? 12 : 1);
                    f.c().startButton->click();
                    QCOMPARE(f.c().ratioStrip->shownTexts(), QStringList{kHeading});
                    f.window.tick();
                    QCOMPARE(f.c().board->ball(), stopped.ball);
                }
            }
            const Experiment &s = f.window.experiment();
            QVERIFY(!f.c().board->ball());
            QStringList ratios{kHeading};
            int fullStacks = 0;
            for (int k = 1; k <= 11; ++k) {
                ratios << QString::fromStdString(FormatRatio(s.bins(k), s.drops));
                fullStacks += s.bins(k) == 20 ? 1 : 0;
            }
            QCOMPARE(fullStacks, 1);
            QCOMPARE(f.c().ratioStrip->shownTexts(), ratios);
            Play(f, "initialise");
        }
    }

    // Enter and keypad Enter click the focused button, as Space does; the
    // focus starts on 開始, and a held key starts one run, not many.
    void enterClicksTheFocusedButton() {
        MainWindowFixture f;
        Activate(&f.window);
        QCOMPARE(QApplication::focusWidget(), f.c().startButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.enabledButtons(), QStringLiteral("stop"));
        f.c().stopButton->setFocus();
        QTest::keyClick(f.c().stopButton, Qt::Key_Return, Qt::ShiftModifier);
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(f.c().stopButton, &held);
        QCOMPARE(f.enabledButtons(), QStringLiteral("stop"));
        QTest::keyClick(f.c().stopButton, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(f.enabledButtons(), QStringLiteral("start quit initialise help"));
    }

    void startReadsTheSpeedFieldOnlyThen() {
        MainWindowFixture f;
        using Case = std::tuple<const char *, int, const char *>;
        for (const auto &[typed, interval, shown] :
             {Case{"abc", 100, "100"}, Case{"250ms", 250, "250ms"}}) {
            f.c().fallSpeedField->setText(QString::fromLatin1(typed));
            Play(f, "start");
            QCOMPARE(f.c().fallSpeedField->text(), QString::fromLatin1(shown));
            f.c().fallSpeedField->setText(QStringLiteral("7"));
            f.tickWhileRunning(5);
            QCOMPARE(f.window.timer().interval(), interval);
            Play(f, "stop");
        }
    }

    void initialiseClearsEveryStackEvenAtTheEdges_data() {
        QTest::addColumn<float>("draw");
        QTest::addColumn<QString>("events");
        QTest::newRow("left edge full") << ScriptedRandom::kLeft << "start fill";
        QTest::newRow("right edge full") << ScriptedRandom::kRight << "start fill";
        QTest::newRow("stopped half-way") << -1.0f << "start stop";
    }
    void initialiseClearsEveryStackEvenAtTheEdges() {
        QFETCH(float, draw);
        QFETCH(QString, events);
        ScriptedRandom oneWay({draw});
        MainWindowFixture f(draw >= 0 ? &oneWay : nullptr);
        f.c().fallSpeedField->setText(QStringLiteral("50"));
        for (const QString &event : events.split(u' ')) {
            Play(f, event);
        }
        const Step lastStep = f.window.experiment().lastStep;
        Play(f, "initialise");
        for (int k = 1; k <= 11; ++k) {
            QCOMPARE(f.c().board->stackHeight(k), 0);
        }
        QCOMPARE(f.c().board->ball(), kBallStart);
        QCOMPARE(f.window.experiment().lastStep, lastStep);
        QCOMPARE(f.c().fallSpeedField->text(), QStringLiteral("50"));
        QCOMPARE(f.window.timer().interval(), 50);
    }

    // Each chime sounds before its command changes anything. Quit answered
    // No leaves all as it was; Yes closes every window.
    void commandsChimeFirstThenAct() {
        MainWindowFixture f;
        f.quit.answers = {false, false, true};
        Play(f, "start");
        Play(f, "stop");
        QStringList heard; // what the screen shows at each chime
        f.device.onSound = [&] {
            heard << QStringLiteral("asked %1, ratios %2, count %3, help %4")
                         .arg(f.quit.asked)
                         .arg(f.c().ratioStrip->shownTexts().size())
                         .arg(f.c().dropCounter->text() != "0")
                         .arg(f.window.help().window() != nullptr);
        };
        for (const char *command : {"quit", "initialise", "help", "quit"}) {
            Play(f, command);
            QVERIFY(f.window.isVisible() &&
                    (f.window.help().window() != nullptr) == (heard.size() >= 3));
        }
        QCOMPARE(heard,
                 QStringList(
                     {"asked 0, ratios 12, count 1, help 0", "asked 1, ratios 12, count 1, help 0",
                      "asked 1, ratios 1, count 0, help 0", "asked 1, ratios 1, count 0, help 1"}));
        QCOMPARE(f.device.cues,
                 QList<ChimeCue>({ChimeCue::End, ChimeCue::Click, ChimeCue::Click, ChimeCue::End}));
        Play(f, "quit");
        DeleteClosedWindows();
        QVERIFY(!f.window.isVisible() && f.window.help().window() == nullptr);
    }

    void theQuitBoxAsksInJapaneseAndAnswersYesOrNo() {
        const auto box = MakeQuitBox(nullptr);
        QCOMPARE(box->windowTitle(), QStringLiteral("ポコリンの落下"));
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        QuitBox quitBox;
        QList<bool> answers;
        const auto answered = [&answers](bool answer) {
            answers << answer;
        };
        quitBox.ask(nullptr, answered);
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QApplication::activeModalWidget()->close(); // closing the box is no Yes
        quitBox.ask(nullptr, answered);
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
        QCOMPARE(answers, QList<bool>({false, true}));
    }

    void activationRepeatsOnlyOnComingBackFromTheHelpWindow() {
        MainWindowFixture f;
        Activate(&f.window);
        Play(f, "start");
        Play(f, "stop");
        const auto pictures = [&f] { // without the ball, which activation places anew
            f.c().board->setBallVisible(false);
            const QList<QImage> images{f.c().board->grab().toImage(),
                                       f.c().theoryStrip->grab().toImage(),
                                       f.c().ratioStrip->grab().toImage()};
            f.c().board->setBallVisible(true);
            return images;
        };
        const QList<QImage> before = pictures();
        QSignalSpy activations(&f.window, &MainWindow::activated);
        QWidget other; // another application's window, as far as the program knows
        other.show();
        Activate(&other);
        Activate(&f.window);
        QCOMPARE(activations.size(), 0);
        Play(f, "help");
        Play(f, "back");
        QCOMPARE(activations.size(), 1);
        QVERIFY(pictures() == before);
        QCOMPARE(f.c().board->ball(), f.window.experiment().ball);
    }

    void theHelpWindowPrintsItsTextWordForWordAndComesBackWhenCalled() {
        MainWindowFixture f;
        Play(f, "help");
        HelpWindow *help = f.window.help().window();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QCOMPARE(help->windowTitle(),
                 QStringLiteral(" ポコリンの落下の実験＿ヘルプ（設問と操作方法）"));
        QCOMPARE(QApplication::focusWidget(), help->closeButton());
        const QStringList text = help->textSurface()->shownTexts();
        QCOMPARE(text.size(), 14);
        const QImage first = help->textSurface()->grab().toImage();
        help->showMinimized(); // HELP brings the one window back, active, with its text again
        Activate(&f.window);
        Play(f, "help");
        QCOMPARE(f.window.help().window(), help);
        QVERIFY(!help->isMinimized() && QTest::qWaitForWindowActive(help));
        QCOMPARE(help->textSurface()->shownTexts(), text);
        QCOMPARE(help->textSurface()->grab().toImage(), first);
        help->move(400, 300); // closed for good, and made anew at its first place
        QTest::keyClick(help->closeButton(), Qt::Key_Enter, Qt::KeypadModifier);
        DeleteClosedWindows();
        QVERIFY(f.window.help().window() == nullptr);
        Play(f, "help");
        QCOMPARE(f.window.help().window()->geometry(), HelpWindow::firstGeometry());
        f.window.close(); // the help window does not outlive the main window
        DeleteClosedWindows();
        QVERIFY(f.window.help().window() == nullptr);
    }

    // The places the end-to-end tests and the screenshot script click and
    // look at lie on their controls, and the board's units are where they say.
    void thePlacesTheScriptsUseLieOnTheirControls() {
        MainWindowFixture f;
        Play(f, "help");
        const HelpWindow *help = f.window.help().window();
        const MainWindowControls &c = f.c();
        const QHash<QString, QWidget *> controls{{"quit", c.quitButton},
                                                 {"title", c.title},
                                                 {"help", c.helpButton},
                                                 {"initialise", c.initialiseButton},
                                                 {"drop-counter", c.dropCounter},
                                                 {"fall-speed", c.fallSpeedField},
                                                 {"stop", c.stopButton},
                                                 {"start", c.startButton},
                                                 {"stacks", c.board},
                                                 {"close", help->closeButton()},
                                                 {"help-text", help->textSurface()}};
        QFile places(QStringLiteral(POKORIN_SOURCE_DIR "/tests/e2e/places.txt"));
        QVERIFY(places.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList named;
        for (const QString &line : QString::fromUtf8(places.readAll()).split(u'\n')) {
            const QStringList words = line.simplified().split(u' ');
            if (line.startsWith(u'#') || words.size() < 3) {
                continue;
            }
            const auto n = [&words](int i) {
                return words.value(i, "1").toDouble();
            };
            named << words[0];
            if (words[0] == "board") {
                const QPointF farCorner = c.board->pos() + c.board->toPixels({40, 20});
                QCOMPARE(farCorner, QPointF(n(1) + 40 * n(3), n(2) + 20 * n(4)));
            } else {
                QVERIFY2(controls.value(words[0]), qPrintable(words[0]));
                QVERIFY2(controls[words[0]]->geometry().contains(
                             QRectF(n(1), n(2), n(3), n(4)).toRect()),
                         qPrintable(line));
            }
        }
        QCOMPARE(named.size(), controls.size() + 1);
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
