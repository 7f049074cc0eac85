// The windows as the class sees them, pixel for pixel against reviewed
// pictures in tests/reference/, and what a screen reader says of each control.

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
using pokorin::test::MainWindowFixture;

namespace {

// Each minor version of Qt draws text a little differently: one reviewed set
// for each, chosen by the Qt the test runs on.
const QVersionNumber kQt = QVersionNumber::fromString(QString::fromLatin1(qVersion()));
const QString kQtVersion = QStringLiteral("%1.%2").arg(kQt.majorVersion()).arg(kQt.minorVersion());
const QDir kReferences(QStringLiteral(POKORIN_SOURCE_DIR "/tests/reference/") + kQtVersion);

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

    // A fixed seed and a frozen clock make the same squares at every run.
    void theWindowsLookAsReviewed_data() {
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
    void theWindowsLookAsReviewed() {
        QFETCH(QStringList, events);
        MainWindowFixture f;
        Activate(&f.window);
        QList<QWidget *> windows{&f.window};
        std::unique_ptr<QMessageBox> quitBox;
        for (const QString &event : events) {
            if (event == "quit") {
                quitBox = MakeQuitBox(&f.window);
                quitBox->show();
                windows << quitBox.get();
            } else if (event.front().isDigit()) {
                f.tickWhileRunning(event.toInt());
            } else {
                f.act(event);
            }
        }
        if (f.window.help().window() != nullptr) {
            windows << f.window.help().window();
        }
        Activate(windows.last());
        compare(Screen(windows), QTest::currentDataTag());
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
    // Pixel for pixel; on a difference the actual picture is written beside
    // the test's log.
    void compare(const QImage &actual, const QString &state) {
        const QString name = QStringLiteral("%1-x%2.png").arg(state).arg(actual.devicePixelRatio());
        if (qEnvironmentVariableIsSet("POKORIN_REMAKE_PICTURES")) {
            QVERIFY(kReferences.mkpath(QStringLiteral(".")) &&
                    actual.save(kReferences.filePath(name)));
            return;
        }
        QVERIFY2(
            kReferences.exists(),
            qPrintable(QStringLiteral("no reference pictures for Qt %1: %2 is missing; render "
                                      "them with scripts/reference-pictures.sh and review them")
                           .arg(kQtVersion, kReferences.path())));
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
