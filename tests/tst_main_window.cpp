#include "board/board_geometry.h"
#include "board/ratio_strip.h"
#include "board/twips_rect.h"
#include "support/form1_fixture.h"
#include "support/window_steps.h"
#include "ui/japanese_setup.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <limits>

using namespace pokorin;
using pokorin::test::Activate;
using pokorin::test::Form1Fixture;

namespace {

const QStringList kTheoryStrip{"理論上の数学的確率",
                               "0.001",
                               "0.010",
                               "0.044",
                               "0.117",
                               "0.205",
                               "0.246",
                               "0.205",
                               "0.117",
                               "0.044",
                               "0.010",
                               "0.001"};

QImage Grab(QWidget *widget) {
    return widget->grab().toImage();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        SetUpJapanese(*qobject_cast<QApplication *>(QCoreApplication::instance()));
    }

    void startUpShowsTheReadyBoard() {
        Form1Fixture f;
        QCOMPARE(f.form.windowTitle(), QStringLiteral(" ポコリンの落下の実験"));
        QCOMPARE(f.form.size(), QSize(656, 542));
        QVERIFY(!f.form.windowIcon().isNull());
        QCOMPARE(f.form.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
        QVERIFY(f.form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(f.form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(f.c().Label1->text(), QStringLiteral("0"));
        QCOMPARE(f.c().Text1->text(), QStringLiteral("100"));
        QCOMPARE(f.form.state().BallX, 19.8f);
        QCOMPARE(f.form.state().BallY, 0.9f);
        QCOMPARE(f.c().Picture2->pos(), QPoint(317, 20));
        QVERIFY(f.c().Picture2->isVisible());
        QCOMPARE(f.enabledButtons(), QStringLiteral("start quit help"));
        QVERIFY(!f.form.timer().isActive());
        QCOMPARE(f.form.timer().interval(), 100);
        QCOMPARE(f.form.timer().timerType(), Qt::PreciseTimer);
        QCOMPARE(f.c().Picture3->shownTexts(), kTheoryStrip);
        QCOMPARE(f.c().Picture4->shownTexts(), QStringList{"実験結果からの割合"});
        for (int k = 1; k <= 11; ++k) {
            QCOMPARE(f.visibleSquares(k), 0);
        }
        QCOMPARE(f.form.focusWidget(), f.c().Command1);
    }

    void controlsStandAtTheirDesignPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("Command1") << "Command1" << TwipsRect(8040, 7440, 1500, 375);
        QTest::newRow("Command2") << "Command2" << TwipsRect(6360, 7440, 1500, 375);
        QTest::newRow("Command3") << "Command3" << TwipsRect(0, 0, 975, 375);
        QTest::newRow("Command4") << "Command4" << TwipsRect(8880, 0, 975, 375);
        QTest::newRow("Command5") << "Command5" << TwipsRect(7920, 0, 975, 375);
        QTest::newRow("Label1") << "Label1" << TwipsRect(2160, 7440, 1215, 375);
        QTest::newRow("Label2") << "Label2" << TwipsRect(720, 7440, 1455, 375);
        QTest::newRow("Label3") << "Label3" << TwipsRect(2520, 0, 4935, 375);
        QTest::newRow("Label4") << "Label4" << TwipsRect(4080, 7440, 1095, 255);
        QTest::newRow("Text1") << "Text1" << TwipsRect(5160, 7440, 495, 270);
        QTest::newRow("Picture1") << "Picture1" << TwipsRect(120, 480, 9615, 6015);
        QTest::newRow("Picture3") << "Picture3" << TwipsRect(120, 6600, 9615, 255);
        QTest::newRow("Picture4") << "Picture4" << TwipsRect(120, 6960, 9615, 255);
    }
    void controlsStandAtTheirDesignPlaces() {
        QFETCH(QString, name);
        QFETCH(QRect, expected);
        Form1Fixture f;
        const std::map<QString, QWidget *> controls{
            {"Command1", f.c().Command1}, {"Command2", f.c().Command2},
            {"Command3", f.c().Command3}, {"Command4", f.c().Command4},
            {"Command5", f.c().Command5}, {"Label1", f.c().Label1},
            {"Label2", f.c().Label2},     {"Label3", f.c().Label3},
            {"Label4", f.c().Label4},     {"Text1", f.c().Text1},
            {"Picture1", f.c().Picture1}, {"Picture3", f.c().Picture3},
            {"Picture4", f.c().Picture4}};
        QCOMPARE(controls.at(name)->geometry(), expected);
        f.form.resize(900, 700);
        QCOMPARE(controls.at(name)->geometry(), expected);
    }

    void stripTextsFitTheirColumns() {
        Form1Fixture f;
        const double unit = kStripScale.xTwips / kTwipsPerPixel;
        const QFontMetricsF strip(f.c().Picture3->textFont());
        QVERIFY(1.0 * unit + strip.horizontalAdvance(kTheoryStrip.first()) < 9.6 * unit);
        QVERIFY(1.0 * unit + strip.horizontalAdvance(QStringLiteral("実験結果からの割合")) <
                9.6 * unit);
        for (const QString &number : kTheoryStrip.mid(1) + QStringList{"1.000", "0.888"}) {
            QVERIFY(strip.horizontalAdvance(number) < 2.0 * unit);
        }
    }

    void everyControlHasANameForScreenReaders() {
        Form1Fixture f;
        for (QWidget *w : f.form.findChildren<QWidget *>()) {
            if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w) ||
                qobject_cast<QLineEdit *>(w) || dynamic_cast<PictureBox *>(w) != nullptr) {
                QVERIFY2(
                    !QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
                    w->metaObject()->className());
            }
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(f.c().Text1)->text(QAccessible::Name),
                 QStringLiteral("落下速度"));
        QCOMPARE(QAccessible::queryAccessibleInterface(f.c().Command1)->text(QAccessible::Name),
                 QStringLiteral("開始"));
        QVERIFY(f.c().Picture3->accessibleDescription().contains(QStringLiteral("0.246")));
    }

    // Tab skips the disabled buttons: in a stopped run only stop is off, in a
    // running one only stop is on.
    void tabWalksTheButtonsThenTheFieldAndSpacePresses() {
        Form1Fixture f;
        Activate(&f.form);
        f.c().Command1->click();
        f.c().Command2->click();
        f.c().Command1->setFocus();
        const auto walk = [](const QList<QWidget *> &order) {
            for (QWidget *next : order) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), next);
            }
        };
        walk({f.c().Command3, f.c().Command4, f.c().Command5, f.c().Text1, f.c().Command1});
        QTest::keyClick(f.c().Command1, Qt::Key_Space);
        QVERIFY(f.form.timer().isActive());
        f.c().Command2->setFocus();
        walk({f.c().Text1, f.c().Command2});
        QTest::keyClick(f.c().Command2, Qt::Key_Space);
        QVERIFY(!f.form.timer().isActive());
    }

    void speedTextSetsTheIntervalAtStart_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters") << "abc" << 100 << "100";
        QTest::newRow("empty") << "" << 100 << "100";
        QTest::newRow("zero") << "0" << 100 << "100";
        QTest::newRow("negative") << "-5" << 100 << "100";
        QTest::newRow("unit") << "250ms" << 250 << "250ms";
        QTest::newRow("half to even down") << "12.5" << 12 << "12.5";
        QTest::newRow("half to even up") << "13.5" << 14 << "13.5";
        QTest::newRow("exponent") << "1e3" << 1000 << "1e3";
        QTest::newRow("full-width") << "１００" << 100 << "１００";
    }
    void speedTextSetsTheIntervalAtStart() {
        QFETCH(QString, typed);
        QFETCH(int, interval);
        QFETCH(QString, shown);
        Form1Fixture f;
        f.c().Text1->setText(typed);
        QTest::mouseClick(f.c().Command1, Qt::LeftButton);
        QVERIFY(f.form.timer().isActive());
        QCOMPARE(f.form.timer().interval(), interval);
        QCOMPARE(f.c().Text1->text(), shown);
        QCOMPARE(f.enabledButtons(), QStringLiteral("stop"));
        f.c().Text1->setText(QStringLiteral("7"));
        QCOMPARE(f.form.timer().interval(), interval); // read at start only
    }

    void hostileSpeedTextsNeverBreakStart_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("reset");
        constexpr int kMax = std::numeric_limits<int>::max();
        QTest::newRow("100,000 letters") << QString(100'000, u'x') << 100 << true;
        QTest::newRow("100,000 digits") << QString(100'000, u'9') << kMax << false;
        QTest::newRow("control characters") << QStringLiteral("\x01\x1b[2J\x7f") << 100 << true;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "50" << 100 << true;
        QTest::newRow("right-to-left mark") << QStringLiteral("\u200F50") << 100 << true;
        QTest::newRow("emoji") << QStringLiteral("😀") << 100 << true;
        QTest::newRow("number then emoji") << QStringLiteral("5😀") << 5 << false;
        QTest::newRow("1e309") << "1e309" << kMax << false;
        QTest::newRow("-1e309") << "-1e309" << 100 << true;
        QTest::newRow("2^32") << "4294967296" << kMax << false;
        QTest::newRow("NaN") << "NaN" << 100 << true;
        QTest::newRow("Infinity") << "Infinity" << 100 << true;
        QTest::newRow("hex") << "0x7fffffff" << 100 << true;
        QTest::newRow("basic hex") << "&H10" << 100 << true;
    }
    void hostileSpeedTextsNeverBreakStart() {
        QFETCH(QString, typed);
        QFETCH(int, interval);
        QFETCH(bool, reset);
        Form1Fixture f;
        f.c().Text1->setText(typed);
        const QString held = f.c().Text1->text(); // the field may hold fewer characters
        f.c().Command1->click();
        QVERIFY(f.form.timer().isActive());
        QCOMPARE(f.form.timer().interval(), interval);
        QCOMPARE(f.c().Text1->text(), reset ? QStringLiteral("100") : held);
        f.c().Command2->click();
        QCOMPARE(f.enabledButtons(), QStringLiteral("start quit initialise help"));
    }

    void aRunSteppedTickByTickKeepsTheDisplayInStep() {
        Form1Fixture f;
        f.c().Command1->click();
        int ticks = 0;
        while (f.form.timer().isActive()) {
            f.form.Timer1Timer();
            ++ticks;
            const SimulationState &s = f.form.state();
            QCOMPARE(s.DropCount, s.BinCount.sum());
            QCOMPARE(f.c().Label1->text(), QString::number(s.DropCount));
            QVERIFY(pokorin::test::IsLevelPosition(s.BallY));
            for (int k = 1; k <= 11; ++k) {
                QCOMPARE(f.visibleSquares(k), int{s.BinCount(k)});
                QVERIFY(s.BinCount(k) <= 20);
            }
            QVERIFY(ticks <= 11 * 211);
        }
        const SimulationState &s = f.form.state();
        QCOMPARE(ticks, 11 * s.DropCount);
        QVERIFY(!f.c().Picture2->isVisibleTo(&f.form));
        QCOMPARE(f.enabledButtons(), QStringLiteral("quit initialise"));
        QStringList ratios{"実験結果からの割合"};
        for (int k = 1; k <= 11; ++k) {
            ratios << QString::fromStdString(FormatRatio(s.BinCount(k), s.DropCount));
        }
        QCOMPARE(f.c().Picture4->shownTexts(), ratios);
        QCOMPARE(s.BallX, kStartX);
    }

    void stopThenStartContinuesTheSameBall() {
        Form1Fixture f;
        f.c().Command1->click();
        f.tickWhileRunning(30);
        f.c().Command2->click();
        QVERIFY(!f.form.timer().isActive());
        QCOMPARE(f.enabledButtons(), QStringLiteral("start quit initialise help"));
        QCOMPARE(f.c().Picture4->shownTexts().size(), 12);
        const SimulationState before = f.form.state();
        const QPoint shownAt = f.c().Picture2->pos();

        f.c().Command1->click();
        QCOMPARE(f.c().Picture4->shownTexts(), QStringList{"実験結果からの割合"});
        QCOMPARE(f.form.state().DropCount, before.DropCount);
        QCOMPARE(f.c().Picture2->pos(), shownAt);
        f.form.Timer1Timer();
        QCOMPARE(f.c().Picture2->pos(), f.boardPixel({before.BallX, before.BallY}));
        QCOMPARE(f.form.state().BallY, before.BallY < 10.9f ? before.BallY + 1.0f : kStartY);
    }

    void theRenderedWindowShowsTheBoard() {
        Form1Fixture f;
        const QImage image = Grab(&f.form);
        const QPoint board = f.c().Picture1->pos();
        // Lines are placed to the nearest pixel, so look one pixel around.
        const auto near = [&](BoardPoint p, const QColor &colour) {
            const QPoint at = board + f.boardPixel(p);
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (image.pixelColor(at + QPoint(dx, dy)) == colour) {
                        return true;
                    }
                }
            }
            return false;
        };
        const QColor blue(0, 0, 255), black(0, 0, 0), red(255, 0, 0);
        QVERIFY(near({15.0f, 6.0f}, blue));    // a lattice node
        QVERIFY(near({24.0f, 11.0f}, blue));   // on the base row
        QVERIFY(near({10.25f, 19.5f}, black)); // bin 1's floor
        QVERIFY(near({20.9f, 15.0f}, black));  // bin 6's right wall
        QVERIFY(near({20.0f, 1.0f}, red));     // the ball on the apex
        QVERIFY(!near({20.25f, 18.9f}, red));  // bin 6 holds no square
        QVERIFY(!near({20.0f, 0.4f}, blue));   // nothing above the apex
        QVERIFY(!near({20.0f, 11.25f}, blue) && !near({20.0f, 11.25f}, black));

        // The captions are drawn with a face that has every glyph they use.
        for (const QWidget *w :
             {static_cast<QWidget *>(f.c().Label3), static_cast<QWidget *>(f.c().Command1),
              static_cast<QWidget *>(f.c().Picture3)}) {
            const QFontMetrics metrics(w->font());
            for (const QString &text :
                 {f.c().Label3->text(), f.c().Command1->text(), kTheoryStrip.first()}) {
                for (const QChar ch : text) {
                    QVERIFY(metrics.inFont(ch));
                }
            }
        }
        const QImage title = Grab(f.c().Label3);
        int dark = 0;
        for (int y = 0; y < title.height(); ++y) {
            for (int x = 0; x < title.width(); ++x) {
                dark += title.pixelColor(x, y).lightness() < 80 ? 1 : 0;
            }
        }
        QVERIFY(dark > 200);
    }

    void activationAfterTheHelpWindowRepeatsWithoutChangingThePicture() {
        Form1Fixture f;
        Activate(&f.form);
        f.c().Command1->click();
        f.tickWhileRunning(40);
        f.c().Command2->click();
        // The ball is left out: activation places it at the state's position,
        // one level on from where the last tick showed it.
        const auto pictures = [&f] {
            f.c().Picture2->hide();
            const QList<QImage> images{Grab(f.c().Picture1), Grab(f.c().Picture3),
                                       Grab(f.c().Picture4)};
            f.c().Picture2->show();
            return images;
        };
        const QList<QImage> before = pictures();
        const QString count = f.c().Label1->text();
        const QStringList ratios = f.c().Picture4->shownTexts();
        QSignalSpy activations(&f.form, &Form1::activated);

        f.c().Command5->click();
        QVERIFY(QTest::qWaitForWindowActive(f.form.help().window()));
        Activate(&f.form);
        QCOMPARE(activations.size(), 1);
        QVERIFY(pictures() == before);
        QCOMPARE(f.c().Label1->text(), count);
        QCOMPARE(f.c().Picture2->pos(), f.boardPixel({f.form.state().BallX, f.form.state().BallY}));
        QCOMPARE(f.c().Picture4->shownTexts(), ratios);
        QCOMPARE(f.c().Picture3->shownTexts(), kTheoryStrip);
        f.form.help().window()->close();
    }

    void comingBackFromAnotherWindowDoesNotActivate() {
        Form1Fixture f;
        Activate(&f.form);
        QSignalSpy activations(&f.form, &Form1::activated);
        QWidget other; // stands in for another application's window
        other.show();
        Activate(&other);
        Activate(&f.form);
        QCOMPARE(activations.size(), 0);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
