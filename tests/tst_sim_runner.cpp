#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Outcome {
    int exitCode;
    QString out;
    QString err;
};

Outcome RunSim(const QStringList &args) {
    QProcess process;
    process.start(QStringLiteral(POKORIN_SIM_PATH), args);
    process.waitForFinished(120'000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QList<int> Numbers(const QString &text) {
    QList<int> numbers;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        numbers << word.toInt();
    }
    return numbers;
}

QList<double> Ratios(const QString &output, const QString &label) {
    QList<double> values;
    for (const QString &line : output.split(u'\n')) {
        if (line.startsWith(label)) {
            for (const QString &word : line.mid(label.size()).split(u' ', Qt::SkipEmptyParts)) {
                values << word.toDouble();
            }
        }
    }
    return values;
}

} // namespace

class SimRunnerTest : public QObject {
    Q_OBJECT

private slots:
    void eachRunEndsWithOneFullStackAndTheTotalAddsUp() {
        const Outcome outcome = RunSim({"--runs", "5", "--seed", "11", "--frozen-clock"});
        QCOMPARE(outcome.exitCode, 0);
        static const QRegularExpression runLine(
            QStringLiteral("^run (\\d+): drops (\\d+) bins((?: \\d+){11})$"));
        const QStringList lines = outcome.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5 + 3);
        QList<int> totals(11, 0);
        int drops = 0;
        for (int run = 1; run <= 5; ++run) {
            const auto match = runLine.match(lines.at(run - 1));
            QVERIFY2(match.hasMatch(), qPrintable(lines.at(run - 1)));
            QCOMPARE(match.captured(1).toInt(), run);
            const QList<int> bins = Numbers(match.captured(3));
            QCOMPARE(std::accumulate(bins.begin(), bins.end(), 0), match.captured(2).toInt());
            QCOMPARE(std::count(bins.begin(), bins.end(), 20), 1);
            QVERIFY(*std::max_element(bins.begin(), bins.end()) == 20);
            for (int k = 0; k < 11; ++k) {
                totals[k] += bins.at(k);
            }
            drops += match.captured(2).toInt();
        }
        QString expectedTotal = QStringLiteral("total: runs 5 drops %1 bins").arg(drops);
        for (int count : totals) {
            expectedTotal += QStringLiteral(" %1").arg(count);
        }
        QCOMPARE(lines.at(5), expectedTotal);
        QCOMPARE(lines.at(7),
                 QStringLiteral(
                     "theory: 0.001 0.010 0.044 0.117 0.205 0.246 0.205 0.117 0.044 0.010 0.001"));
    }

    void aSeedWithAFrozenClockRepeatsTheRun() {
        const QStringList args{"--runs", "3", "--seed", "42", "--frozen-clock"};
        QCOMPARE(RunSim(args).out, RunSim(args).out);
        QVERIFY(RunSim(args).out != RunSim({"--runs", "3", "--seed", "43", "--frozen-clock"}).out);
    }

    void traceLinesNameTheBinOfTheirRightSteps() {
        const Outcome outcome = RunSim({"--trace", "--seed", "5", "--frozen-clock"});
        QCOMPARE(outcome.exitCode, 0);
        static const QRegularExpression traceLine(QStringLiteral("^([RL]{10}) (\\d+)$"));
        int landed = 0;
        for (const QString &line : outcome.out.split(u'\n', Qt::SkipEmptyParts)) {
            const auto match = traceLine.match(line);
            if (match.hasMatch()) {
                ++landed;
                QCOMPARE(match.captured(2).toInt(), match.captured(1).count(u'R') + 1);
            }
        }
        QVERIFY(outcome.out.contains(QStringLiteral("drops %1 bins").arg(landed)));
    }

    void manyRunsComeCloseToTheTheory() {
        const Outcome outcome = RunSim({"--runs", "1000", "--frozen-clock"});
        const QList<double> ratios = Ratios(outcome.out, QStringLiteral("ratios:"));
        const QList<double> theory = Ratios(outcome.out, QStringLiteral("theory:"));
        QCOMPARE(ratios.size(), 11);
        for (int k = 0; k < 11; ++k) {
            QVERIFY2(std::abs(ratios.at(k) - theory.at(k)) < 0.01,
                     qPrintable(outcome.out.right(200)));
        }
    }

    void badOptionsGiveOneLineOfUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("unknown") << QStringList{"--fast"};
        QTest::newRow("runs without value") << QStringList{"--runs"};
        QTest::newRow("zero runs") << QStringList{"--runs", "0"};
        QTest::newRow("runs not a number") << QStringList{"--runs", "ten"};
        QTest::newRow("negative seed") << QStringList{"--seed", "-1"};
        QTest::newRow("seed too big") << QStringList{"--seed", "18446744073709551616"};
        QTest::newRow("stray word") << QStringList{"run"};
    }
    void badOptionsGiveOneLineOfUsage() {
        QFETCH(QStringList, args);
        const Outcome outcome = RunSim(args);
        QCOMPARE(outcome.exitCode, 2);
        QVERIFY(outcome.out.isEmpty());
        QVERIFY(outcome.err.startsWith(QStringLiteral("usage: pokorin-sim")));
        QCOMPARE(outcome.err.count(u'\n'), 1);
    }
};

QTEST_GUILESS_MAIN(SimRunnerTest)
#include "tst_sim_runner.moc"
