#include "ui/fall_speed.h"

#include <QTest>
#include <limits>

using namespace pokorin;

namespace {
constexpr int kMax = std::numeric_limits<int>::max();
}

class FallSpeedTest : public QObject {
    Q_OBJECT

private slots:
    void speedTextsGiveTheirIntervals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("reset");
        QTest::newRow("default") << "100" << 100 << false;
        QTest::newRow("trailing unit") << "250ms" << 250 << false;
        QTest::newRow("exponent") << "1e3" << 1000 << false;
        QTest::newRow("capital exponent") << "1E2" << 100 << false;
        QTest::newRow("letters") << "abc" << 100 << true;
        QTest::newRow("empty") << "" << 100 << true;
        QTest::newRow("zero") << "0" << 100 << true;
        QTest::newRow("negative") << "-5" << 100 << true;
        QTest::newRow("negative twenty") << "-20" << 100 << true;
        QTest::newRow("negative zero") << "-0" << 100 << true;
        QTest::newRow("half to even down") << "12.5" << 12 << false;
        QTest::newRow("half to even up") << "13.5" << 14 << false;
        QTest::newRow("one and a half") << "1.5" << 2 << false;
        QTest::newRow("plus sign") << "+7" << 7 << false;
        QTest::newRow("full-width digits") << "１００" << 100 << false;
        QTest::newRow("full-width with unit") << "２５０ｍｓ" << 250 << false;
        QTest::newRow("full-width point and exponent") << "１．５Ｅ１" << 15 << false;
        QTest::newRow("ideographic space") << "　５" << 5 << false;
        QTest::newRow("inf") << "inf" << 100 << true;
        QTest::newRow("nan") << "nan" << 100 << true;
        QTest::newRow("hex") << "0x10" << 100 << true;
        QTest::newRow("thousands comma") << "1,000" << 1 << false;
        QTest::newRow("blank inside") << "1 000" << 1 << false;
        QTest::newRow("second point") << "1.2.3" << 1 << false;
        QTest::newRow("bare E") << "1e" << 1 << false;
        QTest::newRow("E and sign only") << "1e+" << 1 << false;
        QTest::newRow("point only") << "." << 100 << true;
        QTest::newRow("leading point") << ".4" << 1 << false;
        QTest::newRow("half rounds to zero") << "0.5" << 1 << false;
        QTest::newRow("smallest double") << "4.9e-324" << 1 << false;
        QTest::newRow("underflow") << "1e-999" << 100 << true;
        QTest::newRow("overflow") << "1e999" << kMax << false;
        QTest::newRow("negative overflow") << "-1e999" << 100 << true;
        QTest::newRow("largest interval") << "2147483647" << kMax << false;
        QTest::newRow("beyond 32 bits") << "2147483648" << kMax << false;
        QTest::newRow("leading blanks") << "   42abc" << 42 << false;
        QTest::newRow("tab and newline") << "\t\n42" << 42 << false;
        // Very long texts are read whole, in linear time.
        const QString many9(100'000, u'9');
        QTest::newRow("huge number") << many9 << kMax << false;
        QTest::newRow("long blank run") << QString(100'000, u' ') + "5" << 5 << false;
        QTest::newRow("tiny fraction") << "0." + QString(100'000, u'0') + "1" << 100 << true;
        QTest::newRow("many digits then text") << "12" + many9.left(50'000) + "x" << kMax << false;
        QTest::newRow("long exponent") << "1e" + QString(100'000, u'0') + "2" << 100 << false;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "5" << 100 << true;
    }
    void speedTextsGiveTheirIntervals() {
        QFETCH(QString, text);
        QFETCH(int, interval);
        QFETCH(bool, reset);
        const FallSpeed speed = ReadFallSpeed(text);
        QCOMPARE(speed.intervalMs, interval);
        QCOMPARE(speed.resetText, reset);
    }

    void theLeadingNumberKeepsItsSign() {
        QCOMPARE(LeadingNumber(QStringLiteral("-20")), -20.0);
        QCOMPARE(LeadingNumber(QStringLiteral("  -2.5e1x")), -25.0);
        QCOMPARE(LeadingNumber(QStringLiteral("－３")), -3.0);
        QCOMPARE(LeadingNumber(QStringLiteral("abc")), 0.0);
    }
};

QTEST_GUILESS_MAIN(FallSpeedTest)
#include "tst_fall_speed.moc"
