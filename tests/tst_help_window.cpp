#include "board/fonts.h"
#include "board/picture_box.h"
#include "help/help_launcher.h"
#include "help/help_text.h"
#include "support/window_steps.h"

#include <QApplication>
#include <QFontInfo>
#include <QPushButton>
#include <QTest>

using namespace pokorin;
using pokorin::test::Activate;
using pokorin::test::DeleteClosedWindows;

namespace {

int LeadingIdeographicSpaces(const QString &line) {
    int count = 0;
    while (count < line.size() && line.at(count) == QChar(0x3000)) {
        ++count;
    }
    return count;
}

QList<Form2 *> HelpWindows() {
    QList<Form2 *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *form = qobject_cast<Form2 *>(widget)) {
            windows << form;
        }
    }
    return windows;
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetUpFonts(); }
    void cleanup() {
        qDeleteAll(HelpWindows());
        DeleteClosedWindows();
    }

    void theDesignFaceResolvesToAJapaneseGothic() {
        const QFont font = DesignFont(11.25, false);
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
        const QFontMetrics metrics(font);
        for (char32_t glyph : {U'ポ', U'問', U'題', U'■', U'［', U'１'}) {
            QVERIFY(metrics.inFontUcs4(glyph));
        }
    }

    void theHelpTextHasItsFourteenLinesAndIndents() {
        const QList<int> indents{0, 1, 8, 7, 8, 7, 8, 7, 0, 0, 1, 7, 8, 8};
        QCOMPARE(kHelpLines.size(), std::size_t{14});
        for (int i = 0; i < 14; ++i) {
            const QString line = QString::fromStdString(kHelpLines.at(i));
            QCOMPARE(LeadingIdeographicSpaces(line), indents.at(i));
        }
        QCOMPARE(QString::fromStdString(kHelpLines.at(1)).count(QChar(0x3000)), 3);
        QVERIFY(kHelpLines.at(0).empty() && kHelpLines.at(8).empty() && kHelpLines.at(9).empty());
        QVERIFY(QString::fromStdString(kHelpLines.at(11)).mid(7).startsWith(u'■'));
    }

    void theWindowIsLaidOutInTwips() {
        Form2 form;
        QCOMPARE(form.windowTitle(),
                 QStringLiteral(" ポコリンの落下の実験＿ヘルプ（設問と操作方法）"));
        QCOMPARE(form.geometry(), QRect(206, 111, 617, 337));
        QCOMPARE(form.closeButton()->geometry(), QRect(560, 0, 49, 25));
        QCOMPARE(form.closeButton()->text(), QStringLiteral("閉じる"));
        QCOMPARE(form.textSurface()->geometry(), QRect(8, 32, 601, 297));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.parentWidget() == nullptr);
        QVERIFY(!form.isModal());
    }

    void activationPrintsTheTextOnceWhateverHowOften() {
        HelpLauncher launcher;
        launcher.show();
        Form2 *form = launcher.window();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(QApplication::focusWidget(), form->closeButton());
        QTest::keyClick(form, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->textSurface());
        const float afterFirst = form->textSurface()->currentPosition().y;
        QVERIFY(afterFirst > 0.0f);
        const QImage first = form->textSurface()->grab().toImage();

        QWidget other;
        other.show();
        Activate(&other);
        Activate(form);
        QCOMPARE(form->textSurface()->currentPosition().y, afterFirst);
        QCOMPARE(form->textSurface()->grab().toImage(), first);
        // The text is really drawn: dark pixels on the white surface.
        QVERIFY(first.pixelColor(first.width() / 2, first.height() / 2) == Qt::white);
        bool inked = false;
        for (int y = 0; y < first.height() / 2 && !inked; ++y) {
            for (int x = 0; x < first.width() && !inked; ++x) {
                inked = first.pixelColor(x, y).lightness() < 100;
            }
        }
        QVERIFY(inked);
    }

    void showingAgainRaisesTheSameWindow() {
        HelpLauncher launcher;
        launcher.show();
        Form2 *form = launcher.window();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QWidget other;
        other.show();
        Activate(&other);
        launcher.show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(launcher.window(), form);
        QCOMPARE(HelpWindows().size(), 1);
    }

    void closingDestroysAndTheNextShowRecreates() {
        HelpLauncher launcher;
        launcher.show();
        launcher.window()->move(400, 300);
        QTest::mouseClick(launcher.window()->closeButton(), Qt::LeftButton);
        DeleteClosedWindows();
        QVERIFY(launcher.window() == nullptr);
        QVERIFY(HelpWindows().isEmpty());

        launcher.show();
        QVERIFY(launcher.window() != nullptr);
        QCOMPARE(launcher.window()->geometry(), Form2::firstGeometry());
        launcher.window()->close(); // the title bar's close does the same
        DeleteClosedWindows();
        QVERIFY(launcher.window() == nullptr);
    }

    void resizingMovesNothing() {
        Form2 form;
        form.show();
        const QRect button = form.closeButton()->geometry();
        const QRect surface = form.textSurface()->geometry();
        for (const QSize size : {QSize(300, 150), QSize(1000, 700)}) {
            form.resize(size);
            QCOMPARE(form.closeButton()->geometry(), button);
            QCOMPARE(form.textSurface()->geometry(), surface);
        }
    }
};

QTEST_MAIN(HelpWindowTest)
#include "tst_help_window.moc"
