#include "board/ratio_strip.h"
#include "support/form1_fixture.h"
#include "support/scripted_random.h"
#include "ui/japanese_setup.h"
#include "ui/quit_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>

using namespace pokorin;
using pokorin::test::Activate;
using pokorin::test::Form1Fixture;
using pokorin::test::ScriptedRandom;

namespace {

const QString kHeading = QStringLiteral("実験結果からの割合");

// Plays one user event on the window: a click, a run to a full stack, or a
// trip to the help window and back.
void Play(Form1Fixture &f, const QString &event) {
    if (QPushButton *button = f.button(event)) {
        button->click();
        f.tickWhileRunning(event == "start" ? 25 : 0);
    } else if (event == "full") {
        f.tickWhileRunning(11 * 211);
    } else if (event == "back") {
        Activate(f.form.help().window());
        Activate(&f.form);
    }
}

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Notes the window's pointer each time a square is hidden.
class PointerWatcher final : public QObject {
public:
    explicit PointerWatcher(const Form1Fixture &f)
        : form_(f.form) {
        for (const Stack &stack : f.c().o) {
            std::for_each(stack.begin(), stack.end(),
                          [this](QWidget *s) { s->installEventFilter(this); });
        }
    }
    QList<Qt::CursorShape> shapes;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Hide) {
            shapes << form_.cursor().shape();
        }
        return false;
    }

private:
    const QWidget &form_;
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

    void startUpShowsTheReadyBoardInJapanese() {
        Form1Fixture f;
        QCOMPARE(f.form.windowTitle(), QStringLiteral(" ポコリンの落下の実験"));
        QCOMPARE(f.form.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
        Activate(&f.form); // tab goes to the enabled buttons in their order, then the field
        for (QWidget *next :
             QList<QWidget *>{f.c().Command3, f.c().Command5, f.c().Text1, f.c().Command1}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        const QRect start = f.c().Command1->geometry();
        f.form.resize(300, 200); // nothing follows the window's size
        QCOMPARE(f.c().Command1->geometry(), start);
    }

    void everyEventSetsTheButtonsOfItsRow_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("enabled");
        for (const char *row :
             {" -> start quit help", "start -> stop running",
              "start stop -> start quit initialise help", "start full -> quit initialise",
              "start stop initialise -> start quit help", "start full initialise -> start quit",
              "start full initialise start -> stop running",
              "start full initialise start stop -> start quit initialise help",
              "start stop help quit -> start quit initialise help",
              "start stop help back -> start quit initialise help",
              "help start back -> stop running", "help start full back -> quit initialise",
              "help back -> start quit help"}) {
            const QStringList parts = QString::fromLatin1(row).split(" -> ");
            QTest::newRow(row) << parts[0] << parts[1];
        }
    }
    void everyEventSetsTheButtonsOfItsRow() {
        QFETCH(QString, events);
        QFETCH(QString, enabled);
        Form1Fixture f;
        Activate(&f.form);
        for (const QString &event : events.split(u' ', Qt::SkipEmptyParts)) {
            Play(f, event);
        }
        QCOMPARE(f.enabledButtons() + (f.form.timer().isActive() ? " running" : ""), enabled);
    }

    // Stops fall mid-ball; after every tick the count adds up, the ball is
    // on a level and each stack shows its count. A run goes on from where
    // it stopped, and ends by itself with one full stack and its ratios.
    void runsKeepTheDisplayInStepUntilAStackIsFull() {
        Form1Fixture f;
        for (int run = 0, ticks = 0; run < 3; ++run) {
            Play(f, "start");
            while (f.form.timer().isActive()) {
                f.form.Timer1Timer();
                const SimulationState &s = f.form.state();
                QCOMPARE(s.DropCount, s.BinCount.sum());
                QCOMPARE(f.c().Label1->text(), QString::number(s.DropCount));
                for (int k = 1; k <= 11; ++k) {
                    QCOMPARE(f.visibleSquares(k), int{s.BinCount(k)});
                }
                if (++ticks % 173 == 0 && f.form.timer().isActive()) {
                    const SimulationState stopped = s;
                    Play(f, "stop");
                    QCOMPARE(f.c().Picture4->shownTexts().size(), s.DropCount > 0 ? 12 : 1);
                    f.c().Command1->click();
                    QCOMPARE(f.c().Picture4->shownTexts(), QStringList{kHeading});
                    f.form.Timer1Timer();
                    QCOMPARE(f.c().Picture2->pos(), f.boardPixel({stopped.BallX, stopped.BallY}));
                }
            }
            const SimulationState &s = f.form.state();
            QVERIFY(!f.c().Picture2->isVisibleTo(&f.form));
            QStringList ratios{kHeading};
            int fullStacks = 0;
            for (int k = 1; k <= 11; ++k) {
                ratios << QString::fromStdString(FormatRatio(s.BinCount(k), s.DropCount));
                fullStacks += s.BinCount(k) == 20 ? 1 : 0;
            }
            QCOMPARE(fullStacks, 1);
            QCOMPARE(f.c().Picture4->shownTexts(), ratios);
            Play(f, "initialise");
        }
    }

    // Enter and keypad Enter click the focused button, as Space does; the
    // focus starts on 開始, and a held key starts one run, not many.
    void enterClicksTheFocusedButton() {
        Form1Fixture f;
        Activate(&f.form);
        QCOMPARE(QApplication::focusWidget(), f.c().Command1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f.enabledButtons(), QStringLiteral("stop"));
        f.c().Command2->setFocus();
        QTest::keyClick(f.c().Command2, Qt::Key_Return, Qt::ShiftModifier);
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(f.c().Command2, &held);
        QCOMPARE(f.enabledButtons(), QStringLiteral("stop"));
        QTest::keyClick(f.c().Command2, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(f.enabledButtons(), QStringLiteral("start quit initialise help"));
    }

    void startReadsTheSpeedFieldOnlyThen() {
        Form1Fixture f;
        using Case = std::tuple<const char *, int, const char *>;
        for (const auto &[typed, interval, shown] :
             {Case{"abc", 100, "100"}, Case{"250ms", 250, "250ms"}}) {
            f.c().Text1->setText(QString::fromLatin1(typed));
            Play(f, "start");
            QCOMPARE(f.c().Text1->text(), QString::fromLatin1(shown));
            f.c().Text1->setText(QStringLiteral("7"));
            f.tickWhileRunning(5);
            QCOMPARE(f.form.timer().interval(), interval);
            Play(f, "stop");
        }
    }

    void initialiseClearsEveryStackEvenAtTheEdges_data() {
        QTest::addColumn<float>("draw");
        QTest::addColumn<QString>("events");
        QTest::newRow("left edge full") << ScriptedRandom::kLeft << "start full";
        QTest::newRow("right edge full") << ScriptedRandom::kRight << "start full";
        QTest::newRow("stopped half-way") << -1.0f << "start stop";
    }
    void initialiseClearsEveryStackEvenAtTheEdges() {
        QFETCH(float, draw);
        QFETCH(QString, events);
        ScriptedRandom oneWay({draw});
        Form1Fixture f(draw >= 0 ? &oneWay : nullptr);
        f.c().Text1->setText(QStringLiteral("50"));
        for (const QString &event : events.split(u' ')) {
            Play(f, event);
        }
        const PointerWatcher pointer(f);
        const int16_t stepDir = f.form.state().StepDir;
        Play(f, "initialise");
        for (int k = 1; k <= 11; ++k) {
            QCOMPARE(f.visibleSquares(k), 0);
        }
        QVERIFY(!pointer.shapes.isEmpty());
        QCOMPARE(pointer.shapes, QList<Qt::CursorShape>(pointer.shapes.size(), Qt::WaitCursor));
        QCOMPARE(f.form.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(f.form.state().StepDir, stepDir);
        QCOMPARE(f.c().Text1->text(), QStringLiteral("50"));
        QCOMPARE(f.form.timer().interval(), 50);
    }

    // Each chime sounds before its command changes anything. Quit answered
    // No leaves all as it was; Yes closes every window.
    void commandsChimeFirstThenAct() {
        Form1Fixture f;
        f.quit.answers = {kAnswerNo, kAnswerNo, kAnswerYes};
        Play(f, "start");
        Play(f, "stop");
        QStringList heard; // what the screen shows at each chime
        f.device.onSound = [&] {
            heard << QStringLiteral("asked %1, ratios %2, count %3, help %4")
                         .arg(f.quit.asked)
                         .arg(f.c().Picture4->shownTexts().size())
                         .arg(f.c().Label1->text() != "0")
                         .arg(f.form.help().window() != nullptr);
        };
        for (const char *command : {"quit", "initialise", "help", "quit"}) {
            Play(f, command);
            QVERIFY(f.form.isVisible() &&
                    (f.form.help().window() != nullptr) == (heard.size() >= 3));
        }
        QCOMPARE(heard,
                 QStringList(
                     {"asked 0, ratios 12, count 1, help 0", "asked 1, ratios 12, count 1, help 0",
                      "asked 1, ratios 1, count 0, help 0", "asked 1, ratios 1, count 0, help 1"}));
        QCOMPARE(f.device.operations.mid(0, 5), // each cue stops and closes the last one first
                 QStringList({"Stop", "Close", "FileName=endpinpon.wav", "Open", "Sound"}));
        QCOMPARE(f.device.operations.filter("FileName").join(u' '),
                 QStringLiteral("FileName=endpinpon.wav FileName=pinpon.wav FileName=pinpon.wav "
                                "FileName=endpinpon.wav"));
        QCOMPARE(f.form.state().QuitAnswer, int16_t{kAnswerNo});
        Play(f, "quit");
        DeleteClosedWindows();
        QCOMPARE(f.form.state().QuitAnswer, int16_t{kAnswerYes});
        QVERIFY(!f.form.isVisible() && f.form.help().window() == nullptr);
    }

    void theQuitBoxAsksInJapaneseAndAnswersWithTheClassicCodes() {
        const auto box = MakeQuitBox(nullptr);
        QCOMPARE(box->windowTitle(), QStringLiteral("ポコリンの落下"));
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        QuitBox quitBox;
        QList<int> answers;
        const auto answered = [&answers](int answer) {
            answers << answer;
        };
        quitBox.ask(nullptr, answered);
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QApplication::activeModalWidget()->close(); // closing the box is no Yes
        quitBox.ask(nullptr, answered);
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
        QCOMPARE(answers, QList<int>({kAnswerNo, kAnswerYes}));
    }

    void activationRepeatsOnlyOnComingBackFromTheHelpWindow() {
        Form1Fixture f;
        Activate(&f.form);
        Play(f, "start");
        Play(f, "stop");
        const auto pictures = [&f] { // without the ball, which activation places anew
            f.c().Picture2->hide();
            const QList<QImage> images{f.c().Picture1->grab().toImage(),
                                       f.c().Picture3->grab().toImage(),
                                       f.c().Picture4->grab().toImage()};
            f.c().Picture2->show();
            return images;
        };
        const QList<QImage> before = pictures();
        QSignalSpy activations(&f.form, &Form1::activated);
        QWidget other; // another application's window, as far as the program knows
        other.show();
        Activate(&other);
        Activate(&f.form);
        QCOMPARE(activations.size(), 0);
        Play(f, "help");
        Play(f, "back");
        QCOMPARE(activations.size(), 1);
        QVERIFY(pictures() == before);
        QCOMPARE(f.c().Picture2->pos(), f.boardPixel({f.form.state().BallX, f.form.state().BallY}));
    }

    void theHelpWindowPrintsItsTextWordForWordAndComesBackWhenCalled() {
        Form1Fixture f;
        Play(f, "help");
        Form2 *help = f.form.help().window();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QCOMPARE(help->windowTitle(),
                 QStringLiteral(" ポコリンの落下の実験＿ヘルプ（設問と操作方法）"));
        QCOMPARE(QApplication::focusWidget(), help->closeButton());
        const QStringList text = help->textSurface()->shownTexts();
        QCOMPARE(text.size(), 14);
        const QImage first = help->textSurface()->grab().toImage();
        help->showMinimized(); // HELP brings the one window back, active, with its text again
        Activate(&f.form);
        Play(f, "help");
        QCOMPARE(f.form.help().window(), help);
        QVERIFY(!help->isMinimized() && QTest::qWaitForWindowActive(help));
        QCOMPARE(help->textSurface()->shownTexts(), text);
        QCOMPARE(help->textSurface()->grab().toImage(), first);
        help->move(400, 300); // closed for good, and made anew at its first place
        QTest::keyClick(help->closeButton(), Qt::Key_Enter, Qt::KeypadModifier);
        DeleteClosedWindows();
        QVERIFY(f.form.help().window() == nullptr);
        Play(f, "help");
        QCOMPARE(f.form.help().window()->geometry(), Form2::firstGeometry());
        f.form.close(); // the help window does not outlive the main window
        DeleteClosedWindows();
        QVERIFY(f.form.help().window() == nullptr);
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
