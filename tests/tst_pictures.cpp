// The windows as the class sees them: where the board's units put each thing
// on it, read from the pixels on any Qt; pixel for pixel against the reviewed
// pictures in tests/reference/ on the Qt versions that have a set; and what a
// screen reader says of each control.

#include "support/board_pixels.h"
#include "support/main_window_fixture.h"
#include "ui/japanese_setup.h"
#include "ui/quit_box.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QStyleFactory>
#include <QVersionNumber>

using namespace pokorin;
using pokorin::test::Activate;
using pokorin::test::BoardPixels;
using pokorin::test::MainWindowFixture;

namespace {

// Each minor version of Qt draws text a little differently: one reviewed set
// for each, chosen by the Qt the test runs on.
const QVersionNumber kQt = QVersionNumber::fromString(QString::fromLatin1(qVersion()));
const QString kQtVersion = QStringLiteral("%1.%2").arg(kQt.majorVersion()).arg(kQt.minorVersion());
const QDir kReferences(QStringLiteral(POKORIN_SOURCE_DIR "/tests/reference/") + kQtVersion);
const QColor kLatticeBlue(0, 0, 255);

// The screen as far as the program's windows reach, each window at its place,
// the later ones on top.
QImage Screen(const QList<QWidget *> &windows) {
    QRect reach(0, 0, 1, 1);
    for (const QWidget *window : windows) {
        reach |= window->geometry();
    }
    const qreal ratio = windows.constFirst()->devicePixelRatioF();
    QImage screen(QSize(reach.right() + 1, reach.bottom() + 1) * ratio, QImage::Format_RGB32);
    screen.setDevicePixelRatio(ratio);
    screen.fill(QColor(0, 64, 96));
    QPainter painter(&screen);
    for (QWidget *window : windows) {
        painter.drawPixmap(window->pos(), window->grab());
    }
    return screen;
}

// What a screen reader says of each control of a window, a line each.
QStringList Spoken(QWidget *window) {
    QStringList lines;
    const QMetaEnum roles = QMetaEnum::fromType<QAccessible::Role>();
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (control->window() != window || !control->isVisibleTo(window)) {
            continue;
        }
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(control);
        const QString name = spoken->text(QAccessible::Name);
        if (spoken->role() != QAccessible::Client || !name.isEmpty()) {
            lines << QStringLiteral("%1 %2").arg(roles.valueToKey(spoken->role()), name);
        }
    }
    return lines;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        SetUpJapanese(*qobject_cast<QApplication *>(QCoreApplication::instance()));
    }
    void cleanup() { // the help window belongs to no other window
        for (QWidget *window : QApplication::topLevelWidgets()) {
            window->close();
        }
        pokorin::test::DeleteClosedWindows();
    }

    // A fixed seed and a frozen clock make the same squares at every run.
    void theWindowsLookAsReviewed_data() { states(); }
    void theWindowsLookAsReviewed() {
        QFETCH(QStringList, events);
        if (!kReferences.exists()) {
            QSKIP(
                qPrintable(QStringLiteral("no reference pictures for Qt %1: %2 is missing; render "
                                          "them with scripts/reference-pictures.sh and review them")
                               .arg(kQtVersion, kReferences.path())));
        }
        MainWindowFixture f;
        QList<QWidget *> windows{&f.window};
        std::unique_ptr<QMessageBox> quitBox = drive(f, events);
        if (quitBox) {
            windows << quitBox.get();
        }
        if (f.window.help().window() != nullptr) {
            windows << f.window.help().window();
        }
        Activate(windows.last());
        compare(Screen(windows), QTest::currentDataTag());
    }

    // Each stack a column of its count's squares standing on its bin's floor,
    // the ball where it was shown, the lattice's pins and paths, the bins'
    // walls, and every strip number under its bin.
    void theBoardDrawsEachThingWhereItsUnitsSay_data() { states(); }
    void theBoardDrawsEachThingWhereItsUnitsSay() {
        QFETCH(QStringList, events);
        MainWindowFixture f;
        drive(f, events);
        const BoardPixels board(*f.c().board);
        const Experiment &e = f.window.experiment();
        QCOMPARE(board.stacks(), QList<int>(e.bins.begin(), e.bins.end()));
        QCOMPARE(board.ball().has_value(), !e.hasFullStack());
        QVERIFY(!board.ball() || board.near(*board.ball(), shownBall_));
        for (int level = 0; level <= 10; ++level) {
            for (int x = 20 - level; x <= 20 + level; x += 2) {
                const QPointF pin(x, 1 + level); // where the ball stands, it covers the pin
                QVERIFY(board.showsNear(pin, kLatticeBlue) ||
                        board.near(pin - QPointF(0.2, 0.1), shownBall_));
                QVERIFY(level == 10 ||
                        board.showsNear(QPointF(x + 0.5, 1.5 + level), kLatticeBlue));
                QVERIFY(x == 20 + level ||
                        !board.showsNear(QPointF(x + 1, 1 + level), kLatticeBlue));
            }
        }
        for (int k = 1; k <= kBinTotal; ++k) {
            for (const QPointF wall : {QPointF(7.6 + 2 * k, 15.5), QPointF(8.9 + 2 * k, 15.5),
                                       QPointF(8.25 + 2 * k, 19.5)}) {
                QVERIFY(board.showsNear(wall, Qt::black));
            }
        }
        checkStrip(*f.c().theoryStrip, true);
        checkStrip(*f.c().ratioStrip, !f.window.tickTimer().isActive() && e.drops > 0);
    }

    // Names are behaviour for screen-reader users, not layout.
    void everyControlTellsAScreenReaderWhatItIs() {
        MainWindowFixture f;
        f.c().helpButton->click();
        const auto quitBox = MakeQuitBox(&f.window);
        QCOMPARE(
            Spoken(&f.window),
            QStringList({"Button 開始", "Button 停止", "Button 終了", "Button 初期化",
                         "Button HELP", "EditableText 落下速度", "StaticText ポコリンの落下の実験",
                         "StaticText 実験回数", "StaticText 実験回数", "StaticText 落下速度",
                         "Client ポコリンの落下の実験", "Client 理論上の数学的確率",
                         "Client 実験結果からの割合"}));
        QCOMPARE(Spoken(f.window.help().window()),
                 QStringList({"Button 閉じる", "Client 設問と操作方法"}));
        QCOMPARE(Spoken(quitBox.get()), QStringList({"StaticText 終了していいですか？", "Grouping ",
                                                     "Button はい(Y)", "Button いいえ(N)"}));
    }

private:
    // The states the class sees, each reached by a fixed list of events.
    static void states() {
        QTest::addColumn<QStringList>("events");
        for (const auto &[state, events] :
             std::initializer_list<std::pair<const char *, QStringList>>{
                 {"start-up", {}},
                 {"running", {"start", "305"}},
                 {"full", {"start", "fill"}},
                 {"initialised", {"start", "fill", "initialise"}},
                 {"help", {"help"}},
                 {"quit", {"quit"}}}) {
            QTest::newRow(state) << events;
        }
    }

    // Brings the window to a state; gives the quit box when it was asked for.
    std::unique_ptr<QMessageBox> drive(MainWindowFixture &f, const QStringList &events) {
        Activate(&f.window);
        shownBall_ = f.window.experiment().ball;
        std::unique_ptr<QMessageBox> quitBox;
        for (const QString &event : events) {
            if (event == "quit") {
                quitBox = MakeQuitBox(&f.window);
                quitBox->show();
            } else if (event.front().isDigit()) {
                f.tickWhileRunning(event.toInt() - 1);
                shownBall_ = f.window.experiment().ball; // a tick shows the ball, then moves it
                f.tickWhileRunning(1);
            } else {
                f.act(event);
                shownBall_ = f.window.experiment().ball;
            }
        }
        return quitBox;
    }

    // The heading ends before the first number; each number's middle lies
    // between the walls of its bin.
    static void checkStrip(QWidget &strip, bool numbersShown) {
        const BoardPixels pixels(strip);
        const auto heading = pixels.ink(0, 9.4);
        QVERIFY(heading && heading->second < 9.6);
        for (int k = 1; k <= kBinTotal; ++k) {
            const auto number = pixels.ink(7.4 + 2 * k, 9.4 + 2 * k);
            QCOMPARE(number.has_value(), numbersShown);
            const double middle = number ? (number->first + number->second) / 2 : 8 + 2 * k;
            QVERIFY(middle > 7.6 + 2 * k && middle < 8.9 + 2 * k);
        }
    }

    BoardPoint shownBall_;

    // Pixel for pixel; on a difference the actual picture is written beside
    // the test's log.
    void compare(const QImage &actual, const QString &state) {
        const QString name = QStringLiteral("%1-x%2.png").arg(state).arg(actual.devicePixelRatio());
        if (qEnvironmentVariableIsSet("POKORIN_REMAKE_PICTURES")) {
            QVERIFY(kReferences.mkpath(QStringLiteral(".")) &&
                    actual.save(kReferences.filePath(name)));
            return;
        }
        const QImage reference(kReferences.filePath(name));
        QVERIFY2(!reference.isNull(), qPrintable("no reference picture " + name));
        if (reference.convertToFormat(QImage::Format_RGB32) !=
            actual.convertToFormat(QImage::Format_RGB32)) {
            const QString saved = QDir::current().filePath("actual-" + name);
            actual.save(saved);
            QFAIL(qPrintable(QStringLiteral("%1 differs; see %2").arg(name, saved)));
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
