#include "board/picture_box.h"
#include "support/form1_fixture.h"
#include "support/window_steps.h"
#include "ui/japanese_setup.h"
#include "ui/quit_box.h"

#include <QAbstractButton>
#include <QApplication>

using namespace pokorin;
using pokorin::test::Activate;
using pokorin::test::DeleteClosedWindows;
using pokorin::test::Form1Fixture;

namespace {

// Plays one user event on the window: a click, a run to a full stack, or a
// trip to the help window and back.
void Play(Form1Fixture &f, const QString &event) {
    if (event == "start") {
        f.c().Command1->click();
        f.tickWhileRunning(25);
    } else if (event == "stop") {
        f.c().Command2->click();
    } else if (event == "full") {
        f.runToAFullStack();
    } else if (event == "initialise") {
        f.c().Command4->click();
    } else if (event == "help") {
        f.c().Command5->click();
    } else if (event == "quit") {
        f.c().Command3->click();
    } else if (event == "back") { // help window active, then the main window
        Activate(f.form.help().window());
        Activate(&f.form);
    } else {
        QFAIL(qPrintable("unknown event " + event));
    }
}

// Notes the window's pointer each time a watched square is hidden.
class CursorWatcher final : public QObject {
public:
    explicit CursorWatcher(QWidget *form)
        : form_(form) {}
    QList<Qt::CursorShape> shapes;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Hide) {
            shapes << form_->cursor().shape();
        }
        return false;
    }

private:
    QWidget *form_;
};

bool AllSquaresHidden(const Form1Fixture &f) {
    for (int k = 1; k <= 11; ++k) {
        if (f.visibleSquares(k) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

class RunControlTest : public QObject {
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

    void everyEventSetsTheButtonsOfItsRow_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<bool>("running");
        QTest::newRow("ready") << ""
                               << "start quit help" << false;
        QTest::newRow("running") << "start"
                                 << "stop" << true;
        QTest::newRow("stopped") << "start stop"
                                 << "start quit initialise help" << false;
        QTest::newRow("finished") << "start full"
                                  << "quit initialise" << false;
        QTest::newRow("cleared from stopped") << "start stop initialise"
                                              << "start quit help" << false;
        QTest::newRow("cleared from finished") << "start full initialise"
                                               << "start quit" << false;
        QTest::newRow("help stays off into the next run") << "start full initialise start"
                                                          << "stop" << true;
        QTest::newRow("until the next stop") << "start full initialise start stop"
                                             << "start quit initialise help" << false;
        QTest::newRow("running again from stopped") << "start stop start"
                                                    << "stop" << true;
        QTest::newRow("help keeps the state") << "start stop help"
                                              << "start quit initialise help" << false;
        QTest::newRow("quit answered no keeps it") << "start stop quit"
                                                   << "start quit initialise help" << false;
        QTest::newRow("back from help, stopped") << "start stop help back"
                                                 << "start quit initialise help" << false;
        QTest::newRow("back from help, running") << "help start back"
                                                 << "stop" << true;
        QTest::newRow("back from help, finished") << "help start full back"
                                                  << "quit initialise" << false;
        QTest::newRow("back from help, ready") << "help back"
                                               << "start quit help" << false;
    }
    void everyEventSetsTheButtonsOfItsRow() {
        QFETCH(QString, events);
        QFETCH(QString, enabled);
        QFETCH(bool, running);
        Form1Fixture f;
        Activate(&f.form);
        for (const QString &event : events.split(u' ', Qt::SkipEmptyParts)) {
            Play(f, event);
        }
        QCOMPARE(f.enabledButtons(), enabled);
        QCOMPARE(f.form.timer().isActive(), running);
    }

    void quitAnsweredNoChangesNothingAndAsksAgain() {
        Form1Fixture f;
        Play(f, "start");
        Play(f, "stop");
        const QStringList ratios = f.c().Picture4->shownTexts();
        f.c().Command3->click();
        QCOMPARE(f.device.operations,
                 QStringList({"Stop", "Close", "FileName=endpinpon.wav", "Open", "Sound"}));
        QCOMPARE(f.form.state().QuitAnswer, int16_t{kAnswerNo});
        QVERIFY(f.form.isVisible());
        QCOMPARE(f.c().Picture4->shownTexts(), ratios);
        f.c().Command3->click();
        QCOMPARE(f.quit.asked, 2);
    }

    void quitAnsweredYesClosesEveryWindow() {
        Form1Fixture f;
        f.quit.answers = {kAnswerYes};
        Play(f, "help");
        QVERIFY(f.form.help().window() != nullptr);
        f.c().Command3->click();
        DeleteClosedWindows();
        QCOMPARE(f.form.state().QuitAnswer, int16_t{kAnswerYes});
        QVERIFY(!f.form.isVisible());
        QVERIFY(f.form.help().window() == nullptr);
    }

    void closingTheMainWindowClosesTheHelpWindow() {
        Form1Fixture f;
        Play(f, "help");
        f.form.close();
        DeleteClosedWindows();
        QVERIFY(f.form.help().window() == nullptr);
        QCOMPARE(f.quit.asked, 0);
        for (QWidget *w : QApplication::topLevelWidgets()) {
            QVERIFY(!w->isVisible());
        }
    }

    void theQuitBoxAsksInJapanese() {
        const auto box = MakeQuitBox(nullptr);
        QCOMPARE(box->text(), QStringLiteral("終了していいですか？"));
        QCOMPARE(box->windowTitle(), QStringLiteral("ポコリンの落下"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        // Japanese buttons carry their key in brackets: "はい(&Y)".
        QVERIFY(box->button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい")));
        QVERIFY(box->button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")));
    }

    void theQuitBoxAnswersWithTheClassicCodes() {
        Form1Fixture f;
        QuitBox box;
        QTimer::singleShot(0, [] {
            auto *open = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(open != nullptr);
            open->button(QMessageBox::No)->click();
        });
        QCOMPARE(box.ask(&f.form), kAnswerNo);
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(box.ask(&f.form), kAnswerNo); // closing the box is no Yes
        QTimer::singleShot(0, [] {
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); // the default
        });
        QCOMPARE(box.ask(&f.form), kAnswerYes);
    }

    void everyChimeSoundsBeforeTheScreenChanges() {
        Form1Fixture f;
        Play(f, "start");
        Play(f, "stop");
        const QPoint ball = f.c().Picture2->pos();
        const QStringList ratios = f.c().Picture4->shownTexts();
        bool checked = false;
        f.device.onSound = [&] {
            QCOMPARE(f.c().Picture2->pos(), ball);
            QCOMPARE(f.c().Picture4->shownTexts(), ratios);
            QVERIFY(f.form.help().window() == nullptr);
            QCOMPARE(f.quit.asked, 0);
            checked = true;
        };
        for (QPushButton *button : {f.c().Command3, f.c().Command5}) {
            checked = false;
            button->click();
            QVERIFY(checked);
            f.device.onSound = [&] {
                checked = true;
            };
        }
        f.device.onSound = [&] {
            QCOMPARE(f.c().Picture2->pos(), ball);
            QVERIFY(!AllSquaresHidden(f));
            checked = true;
        };
        checked = false;
        f.c().Command4->click();
        QVERIFY(checked);
        QCOMPARE(
            f.device.operations.filter(QStringLiteral("FileName")),
            QStringList({"FileName=endpinpon.wav", "FileName=pinpon.wav", "FileName=pinpon.wav"}));
    }

    void initialiseClearsTheBoard_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("after a stop half-way down") << "start stop"
                                                    << "start quit help";
        QTest::newRow("after a full stack") << "start full"
                                            << "start quit";
    }
    void initialiseClearsTheBoard() {
        QFETCH(QString, events);
        QFETCH(QString, enabled);
        Form1Fixture f;
        f.c().Text1->setText(QStringLiteral("50"));
        for (const QString &event : events.split(u' ')) {
            Play(f, event);
        }
        QVERIFY(!AllSquaresHidden(f));
        const int16_t stepDir = f.form.state().StepDir;
        CursorWatcher watcher(&f.form);
        for (const Stack &stack : f.c().o) {
            for (QWidget *square : stack) {
                square->installEventFilter(&watcher);
            }
        }

        f.c().Command4->click();
        const SimulationState &s = f.form.state();
        QCOMPARE(s.BallX, 19.8f);
        QCOMPARE(s.BallY, 0.9f);
        QCOMPARE(s.DropCount, int16_t{0});
        QCOMPARE(s.BinCount, BinCounts{});
        QCOMPARE(s.SquareIndex, int16_t{21});
        QCOMPARE(s.StepDir, stepDir);
        QVERIFY(AllSquaresHidden(f));
        QVERIFY(f.c().Picture2->isVisibleTo(&f.form));
        QCOMPARE(f.c().Picture2->pos(), f.boardPixel({19.8f, 0.9f}));
        QCOMPARE(f.c().Label1->text(), QStringLiteral("0"));
        QCOMPARE(f.c().Picture4->shownTexts(), QStringList{"実験結果からの割合"});
        QCOMPARE(f.c().Picture3->shownTexts().size(), 12);
        QCOMPARE(f.enabledButtons(), enabled);
        QCOMPARE(f.form.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(f.form.testAttribute(Qt::WA_SetCursor));
        QVERIFY(!watcher.shapes.isEmpty());
        QCOMPARE(watcher.shapes, QList<Qt::CursorShape>(watcher.shapes.size(), Qt::WaitCursor));
        QCOMPARE(f.c().Text1->text(), QStringLiteral("50"));
        QCOMPARE(f.form.timer().interval(), 50);
    }

    void aNewRunAfterInitialiseStartsAFreshBallFromTheApex() {
        Form1Fixture f;
        Play(f, "start");
        Play(f, "stop");
        Play(f, "initialise");
        f.c().Command1->click();
        f.form.Timer1Timer();
        QCOMPARE(f.c().Picture2->pos(), f.boardPixel({19.8f, 0.9f}));
        f.tickWhileRunning(10);
        QCOMPARE(f.form.state().DropCount, int16_t{1});
        QCOMPARE(f.c().Label1->text(), QStringLiteral("1"));
    }

    void helpOpensOneModelessWindowWithAChime() {
        Form1Fixture f;
        Play(f, "help");
        Form2 *help = f.form.help().window();
        QVERIFY(help != nullptr);
        QVERIFY(help->parentWidget() == nullptr);
        QVERIFY(!help->isModal());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        Activate(&f.form);
        Play(f, "help");
        QCOMPARE(f.form.help().window(), help);
        QCOMPARE(f.device.operations.count(QStringLiteral("Sound")), 2);
        QCOMPARE(f.device.operations.count(QStringLiteral("FileName=pinpon.wav")), 2);
    }
};

QTEST_MAIN(RunControlTest)
#include "tst_run_control.moc"
