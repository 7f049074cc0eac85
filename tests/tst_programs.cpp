// The built programs as a user runs them: the runner's known output, their
// command lines, and Qt's own options seen in the window's first picture.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Outcome {
    int exitCode;
    QString out;
    QString err;
};

// Runs one of the programs in FOLDER with no display and no sound server.
Outcome Run(const QString &program, const QStringList &args,
            const QString &folder = QStringLiteral(POKORIN_BIN_DIR)) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "PULSE_SERVER"}) {
        environment.remove(QLatin1String(name));
    }
    process.setProcessEnvironment(environment);
    process.start(folder + '/' + program, args);
    process.waitForFinished(60'000);
    const auto lines = [](const QByteArray &text) { // Windows ends them with \r\n
        return QString::fromUtf8(text).remove(u'\r');
    };
    return {process.exitCode(), lines(process.readAllStandardOutput()),
            lines(process.readAllStandardError())};
}

// The main window as `pokorin ARGS` first shows it: Qt's minimal platform
// saves each picture it is given in the working folder.
QImage FirstPicture(const QStringList &args) {
    QTemporaryDir dir;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_DEBUG_BACKINGSTORE", "1");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(POKORIN_BIN_DIR "/pokorin"),
                  QStringList{"-platform", "minimal:enable_fonts"} + args);
    QImage picture;
    const bool shown =
        QTest::qWaitFor([&] { return picture.load(dir.filePath("output0000.png")); }, 20'000);
    process.kill();
    process.waitForFinished();
    return shown ? picture : QImage();
}

// This computer's own addresses, which differ from one machine to the next.
QString WithoutAddresses(QString text) {
    static const QRegularExpression addresses("at \\d+(\\.\\d+){3}(, \\d+(\\.\\d+){3})*;");
    return text.replace(addresses, "at ADDRESSES;");
}

} // namespace

class ProgramsTest : public QObject {
    Q_OBJECT

private slots:
    // Each landed ball writes its steps in the order taken and its bin.
    void aSeedWithAFrozenClockGivesItsKnownRunsAndTrace() {
        const Outcome outcome =
            Run("pokorin-sim", {"--runs", "3", "--seed", "1", "--frozen-clock"});
        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(outcome.out,
                 QStringLiteral("run 1: drops 52 bins 1 1 0 3 5 9 20 6 6 1 0\n"
                                "run 2: drops 61 bins 0 3 3 3 7 17 20 7 1 0 0\n"
                                "run 3: drops 75 bins 0 1 6 8 20 12 12 12 2 2 0\n"
                                "total: runs 3 drops 188 bins 1 5 9 14 32 38 52 25 9 3 0\n"
                                "ratios: 0.005 0.027 0.048 0.074 0.170 0.202 0.277 0.133 "
                                "0.048 0.016 0.000\n"
                                "theory: 0.001 0.010 0.044 0.117 0.205 0.246 0.205 0.117 "
                                "0.044 0.010 0.001\n"));
        const QStringList trace = Run("pokorin-sim", {"--trace", "--seed", "1", "--frozen-clock"})
                                      .out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(trace.first(), QStringLiteral("LLLRRRLRRR 7"));
        QCOMPARE(trace.filter(QRegularExpression("^[RL]{10} \\d+$")).size(), 52);
    }

    // Help and version need no display.
    void eachProgramExplainsItself() {
        const QString help = Run("pokorin-sim", {"--help"}).out;
        for (const char *option : {"--runs <n>", "--seed <s>", "--frozen-clock", "--trace", "-v"}) {
            QVERIFY2(help.contains(QLatin1String(option)), option);
        }
        static const QRegularExpression version("^pokorin(-sim)? \\d+\\.\\d+\\.\\d+\n$");
        QVERIFY(version.match(Run("pokorin-sim", {"--version"}).out).hasMatch());
        QVERIFY(version.match(Run("pokorin", {"-v"}).out).hasMatch());
        QList<std::pair<QString, QStringList>> windowPrograms{
            {"pokorin", {"--version", "--class", "--port <port>", "--address <address>"}}};
#ifdef POKORIN_CLASS_PROGRAM
        windowPrograms.append(
            {"pokorin-class", {"--version", "--port <port>", "--address <address>"}});
#endif
        for (const auto &[program, options] : windowPrograms) {
            const QString help = Run(program, {"-h"}).out;
            QVERIFY(help.startsWith("Usage: " + program + " [options]\n"));
            for (const QString &option : options) {
                QVERIFY2(help.contains(option), qPrintable(program + ' ' + option));
            }
        }
    }

    // What neither we nor Qt know is one error line naming it, before any
    // window, with exit code 2.
    void eachProgramRefusesWhatItDoesNotKnow() {
        const QString runs = "--runs needs a whole number from 1 up, not \"%1\"";
        const QString bogus = "unknown option 'bogus'; see 'pokorin --help'";
        QList<std::tuple<QString, QStringList, QString>> refusals{
            {"pokorin-sim", {"--runs", "abc"}, runs.arg("abc")},
            {"pokorin-sim", {"--runs", "0"}, runs.arg("0")},
            {"pokorin-sim",
             {"--seed", "-1"},
             "--seed needs a whole number from 0 to 18446744073709551615, not \"-1\""},
            {"pokorin-sim", {"--runs"}, "Missing value after '--runs'."},
            {"pokorin-sim", {"--fast"}, "unknown option 'fast'; see 'pokorin-sim --help'"},
            {"pokorin-sim", {"run"}, "unexpected argument \"run\"; see 'pokorin-sim --help'"},
            {"pokorin", {"--bogus"}, bogus},
            {"pokorin",
             {"--class", "--port", "0"},
             "'0' is not a port from 1 to 65535; see 'pokorin --help'"},
            {"pokorin", {"-style", "fusion", "-bogus", "x"}, bogus},
            {"pokorin",
             {"-reverse", "bogus"},
             "unexpected argument 'bogus'; see 'pokorin --help'"}};
#ifdef POKORIN_CLASS_PROGRAM
        refusals.append({"pokorin-class",
                         {"--address", "198.18.255.254"},
                         "no network interface of this computer has the address 198.18.255.254; "
                         "the students can reach it at ADDRESSES; see 'pokorin-class --help'"});
#endif
        for (const auto &[program, args, error] : refusals) {
            const Outcome outcome = Run(program, args);
            QCOMPARE(outcome.exitCode, 2);
            QCOMPARE(WithoutAddresses(outcome.err), program + ": " + error + '\n');
            QVERIFY(outcome.out.isEmpty());
        }
    }

#ifdef POKORIN_CLASS_PROGRAM
    // pokorin --class hands the class's program its arguments whole and gives
    // back how it ended, from a folder named as a second unpacking of the zip
    // names it, in Japanese.
    void theClassOptionStartsTheClassProgramFromAnyFolder() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("授業 pokorin (1)"));
        QVERIFY(QDir().mkpath(folder));
        const QDir built(QStringLiteral(POKORIN_BIN_DIR));
        for (const QString &file :
             built.entryList({"pokorin", "pokorin.exe", "pokorin-class", "pokorin-class.exe"})) {
            QVERIFY2(QFile::copy(built.filePath(file), folder + '/' + file), qPrintable(file));
        }
        const Outcome outcome = Run("pokorin", {"--class", "--address", "198.18.255.254"}, folder);
        QCOMPARE(WithoutAddresses(outcome.err),
                 QStringLiteral("pokorin-class: no network interface of this computer has the "
                                "address 198.18.255.254; the students can reach it at ADDRESSES; "
                                "see 'pokorin-class --help'\n"));
        QCOMPARE(outcome.exitCode, 2);
    }
#endif

    // Qt's options work as in any Qt program, one dash or two.
    void qtsOwnOptionsReachQt() {
        const QImage plain = FirstPicture({});
        QCOMPARE(plain.size(), QSize(656, 542));
        for (const QStringList &args :
             {QStringList{"-platformtheme", "x"},
              {"-visual", "TrueColor"},
              {"--qwindowtitle", "t", "-widgetcount", "-nograb", "-sync"}}) {
            QVERIFY2(FirstPicture(args) == plain, qPrintable(args.join(' ')));
        }
        const QImage reversed = FirstPicture({"-reverse"});
        const QRect quit(0, 0, 65, 25); // 終了, now in the top right corner
        QCOMPARE(reversed.copy(quit.translated(plain.width() - quit.width(), 0)), plain.copy(quit));
        const QImage windowsStyle = FirstPicture({"-style", "windows"});
        QVERIFY(!windowsStyle.isNull() && FirstPicture({"--style=fusion"}) != windowsStyle);
        QTemporaryDir dir;
        QFile sheet(dir.filePath("green.qss"));
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        sheet.write("QPushButton { background: rgb(0, 255, 0); }");
        sheet.close();
        const QImage styled = FirstPicture({"-stylesheet", sheet.fileName()});
        QCOMPARE(styled.pixelColor(5, 12), QColor(0, 255, 0)); // inside 終了
    }
};

QTEST_GUILESS_MAIN(ProgramsTest)
#include "tst_programs.moc"
