// Speed and memory of the main window on the offscreen platform.
// Prints one line per figure: name value unit. Start-up is measured in fresh
// child processes of this program, so that neither window inherits the
// other's warmed-up toolkit.

#include "board/number_strip.h"
#include "core/fall_speed.h"
#include "core/local_clock.h"
#include "core/shown_texts.h"
#include "core/xoshiro_generator.h"
#include "process_figures.h"
#include "sound/chime_device.h"
#include "sound/wave_chime_device.h"
#include "ui/japanese_setup.h"
#include "ui/main_window.h"
#include "ui/main_window_design.h"
#include "ui/quit_confirmation.h"
#include "window/fonts.h"
#include "window/window_place.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sys/resource.h>
#include <unistd.h>

using namespace pokorin;

namespace {

class SilentDevice final : public ChimeDevice {
public:
    void play(ChimeCue) override {}
};

class NeverQuit final : public QuitConfirmation {
public:
    void ask(QWidget *, std::function<void(bool)> answered) override { answered(false); }
};

void Print(const char *name, double value, const char *unit) {
    std::cout << name << ' ' << value << ' ' << unit << std::endl;
}

// Runs the event loop until the condition holds, for ten seconds at most.
template <typename Condition> void ProcessUntil(Condition done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10'000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// Shows the window and runs the event loop until its first frame is painted.
void ShowUntilPainted(QWidget &window) {
    struct PaintWatcher : QObject {
        bool painted = false;
        bool eventFilter(QObject *, QEvent *event) override {
            painted = painted || event->type() == QEvent::Paint;
            return false;
        }
    } watcher;
    window.installEventFilter(&watcher);
    window.show();
    ProcessUntil([&watcher] { return watcher.painted; });
    window.removeEventFilter(&watcher);
}

struct Services {
    SilentDevice device;
    LocalClock clock;
    XoshiroGenerator random;
    NeverQuit quit;
};

// The texts of the main window at start-up alone, as plain labels one under
// the other, each in its font: what its seven fonts (sizes and weights) cost
// to load and draw, whatever else the window does.
std::unique_ptr<QWidget> TextsWindow() {
    std::vector<std::pair<QString, QFont>> texts;
    for (const ControlDesign *control : kTextControlDesigns) {
        // The field shows the default speed, the counter nothing at first.
        const QString text = control == &kFallSpeedFieldDesign ? QString::number(kDefaultIntervalMs)
                                                               : control->caption;
        if (!text.isEmpty()) {
            texts.emplace_back(text, DesignFont(control->pointSize, control->bold));
        }
    }
    QStringList stripTexts{kTheoryHeading, kRatioHeading};
    stripTexts.append(QStringList(kTheoryTexts.begin(), kTheoryTexts.end()));
    for (const QString &text : stripTexts) {
        texts.emplace_back(text, DesignFont(kStripPointSize, false));
    }
    auto window = std::make_unique<QWidget>();
    window->resize(MainWindowDesignPlace().size());
    int y = 0;
    for (const auto &[text, font] : texts) {
        auto *label = new QLabel(text, window.get());
        label->setFont(font);
        label->move(0, y);
        y += 25;
    }
    return window;
}

// The child's part: start-up time, peak memory and the number of objects of
// one kind of window. The bare window shows one line of Japanese in the
// program's face, at the main window's size.
int StartUp(const QString &kind, QApplication &app) {
    SetUpJapanese(app);
    Services services;
    std::unique_ptr<QWidget> window;
    if (kind == "bare") {
        auto label = std::make_unique<QLabel>(kTitle);
        label->setFont(DesignFont(kTitleDesign.pointSize, kTitleDesign.bold));
        label->resize(MainWindowDesignPlace().size());
        window = std::move(label);
    } else if (kind == "texts") {
        window = TextsWindow();
    } else {
        window = std::make_unique<MainWindow>(services.device, services.clock, services.random,
                                              services.quit);
    }
    ShowUntilPainted(*window);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::cout << usage.ru_maxrss << ' ' << window->findChildren<QObject *>().size() + 1
              << std::endl;
    return 0;
}

struct StartUpFigures {
    std::vector<double> ms, kib;
    double objects = 0;
};

// From the process's start, its loading of the libraries included, to the
// line it writes once its window is painted.
void MeasureStartUp(const QString &kind, StartUpFigures &figures) {
    QProcess child;
    QElapsedTimer sinceStart;
    sinceStart.start();
    child.start(QCoreApplication::applicationFilePath(), {"--startup", kind});
    child.waitForReadyRead(60'000);
    figures.ms.push_back(sinceStart.nsecsElapsed() / 1e6);
    child.waitForFinished(60'000);
    double kib = 0;
    std::sscanf(child.readAllStandardOutput().constData(), "%lf %lf", &kib, &figures.objects);
    figures.kib.push_back(kib);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// The windows in turn, 31 times each, so that all meet the same machine and
// a median is steady on a machine whose timings scatter.
void ReportStartUp() {
    StartUpFigures bare, texts, main;
    for (int i = 0; i < 31; ++i) {
        MeasureStartUp("bare", bare);
        MeasureStartUp("texts", texts);
        MeasureStartUp("main", main);
    }
    Print("startup_bare_window", Median(bare.ms), "ms");
    Print("startup_texts_window", Median(texts.ms), "ms");
    Print("startup_main_window", Median(main.ms), "ms");
    Print("startup_texts_ratio", Median(texts.ms) / Median(bare.ms), "x");
    Print("startup_ratio", Median(main.ms) / Median(bare.ms), "x");
    Print("memory_bare_window", Median(bare.kib), "KiB");
    Print("memory_main_window", Median(main.kib), "KiB");
    Print("memory_ratio", Median(main.kib) / Median(bare.kib), "x");
    Print("objects_main_window", main.objects, "objects");
}

// A program as built, from its start to its first picture, which Qt's minimal
// platform writes to the working folder when asked: its time and its peak
// resident memory then.
std::pair<double, double> FirstPicture(const QString &program) {
    QTemporaryDir dir;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_DEBUG_BACKINGSTORE", "1");
    environment.remove("QT_QPA_PLATFORM");
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(dir.path());
    QElapsedTimer sinceStart;
    sinceStart.start();
    child.start(program, {"-platform", "minimal:enable_fonts"});
    while (!QFile::exists(dir.filePath("output0000.png")) && sinceStart.elapsed() < 60'000) {
        QThread::usleep(200);
    }
    const double ms = sinceStart.nsecsElapsed() / 1e6;
    double kib = 0;
    std::ifstream status("/proc/" + std::to_string(child.processId()) + "/status");
    for (std::string field; status >> field;) {
        if (field == "VmHWM:") {
            status >> kib;
        }
    }
    child.kill();
    child.waitForFinished();
    return {ms, kib};
}

// pokorin as a class starts it, against the bare window: what the program
// loads and does before its window shows, every library it links included.
void ReportProgram() {
    std::vector<double> bareMs, bareKib, programMs, programKib;
    for (int i = 0; i < 31; ++i) {
        const auto [ms, kib] = FirstPicture(BARE_WINDOW);
        bareMs.push_back(ms), bareKib.push_back(kib);
        const auto [shownMs, shownKib] = FirstPicture(POKORIN_BIN_DIR "/pokorin");
        programMs.push_back(shownMs), programKib.push_back(shownKib);
    }
    Print("startup_program", Median(programMs), "ms");
    Print("startup_program_ratio", Median(programMs) / Median(bareMs), "x");
    Print("memory_program", Median(programKib), "KiB");
    Print("memory_program_ratio", Median(programKib) / Median(bareKib), "x");
}

// Ticks straight through runs, initialising after each full stack.
void LandBalls(MainWindow &mainWindow, int balls) {
    const MainWindowControls &c = mainWindow.controls();
    int landed = 0;
    while (landed < balls) {
        c.startButton->click();
        while (mainWindow.tickTimer().isActive()) {
            mainWindow.tick();
        }
        landed += mainWindow.experiment().drops;
        c.initialiseButton->click();
    }
}

// After a first 10,000 balls have filled the toolkit's caches, the next
// 10,000 must not need more memory.
void ReportMemoryGrowth(MainWindow &mainWindow) {
    LandBalls(mainWindow, 10'000);
    QCoreApplication::processEvents();
    const long before = ResidentKiB();
    LandBalls(mainWindow, 10'000);
    QCoreApplication::processEvents();
    Print("memory_growth_10000_balls", ResidentKiB() - before, "KiB");
}

void ReportInitialise(MainWindow &mainWindow) {
    constexpr int kRepeats = 20;
    qint64 total = 0;
    for (int i = 0; i < kRepeats; ++i) {
        mainWindow.controls().startButton->click();
        while (mainWindow.tickTimer().isActive()) {
            mainWindow.tick();
        }
        QElapsedTimer timer;
        timer.start();
        mainWindow.controls().initialiseButton->click();
        total += timer.nsecsElapsed();
        QCoreApplication::processEvents();
    }
    Print("initialise_full_board", total / 1e6 / kRepeats, "ms");
}

void ReportActivation(MainWindow &mainWindow) {
    constexpr int kRepeats = 20;
    qint64 total = 0;
    bool activated = false;
    QObject::connect(&mainWindow, &MainWindow::activated, [&activated] { activated = true; });
    mainWindow.controls().startButton->click(); // a stopped run: help can be opened
    mainWindow.controls().stopButton->click();
    for (int i = 0; i < kRepeats; ++i) {
        mainWindow.controls().helpButton->click();
        ProcessUntil(
            [&mainWindow] { return QApplication::activeWindow() == mainWindow.help().window(); });
        activated = false;
        QElapsedTimer timer;
        timer.start();
        mainWindow.activateWindow();
        ProcessUntil([&activated] { return activated; });
        total += timer.nsecsElapsed();
    }
    Print("activation", total / 1e6 / kRepeats, "ms");
}

// Runs at the given interval for about three seconds, restarting after each
// full stack, and compares the ticks with those due in the time that passed.
void ReportCadence(MainWindow &mainWindow, int intervalMs) {
    constexpr int kMilliseconds = 3000;
    const MainWindowControls &c = mainWindow.controls();
    c.fallSpeedField->setText(QString::number(intervalMs));
    int ticks = 0;
    const auto counter = QObject::connect(&mainWindow.tickTimer(), &QTimer::timeout, [&] {
        ++ticks;
        if (!mainWindow.tickTimer().isActive()) { // a full stack: clear and go on
            c.initialiseButton->click();
            c.startButton->click();
        }
    });
    const double cpuBefore = ProcessorSeconds();
    QElapsedTimer elapsed;
    elapsed.start();
    c.startButton->click();
    QEventLoop loop;
    // Half an interval past the end, so the last tick due is not a race.
    QTimer::singleShot(kMilliseconds + intervalMs / 2, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    c.stopButton->click();
    const double cpu = ProcessorSeconds() - cpuBefore;
    const double due = std::floor(static_cast<double>(elapsed.elapsed()) / intervalMs);
    QObject::disconnect(counter);
    const std::string name = "cadence_" + std::to_string(intervalMs) + "ms";
    Print((name + "_ticks").c_str(), ticks, "ticks");
    Print((name + "_due").c_str(), due, "ticks");
    Print((name + "_achieved").c_str(), 100.0 * ticks / due, "%");
    Print((name + "_cpu_per_tick").c_str(), cpu / ticks * 1e6, "us");
    c.initialiseButton->click();
}

// What a bare precise timer costs per tick in this process, for comparison:
// the event loop's own share of every tick.
void ReportBareTimer() {
    constexpr int kIntervalMs = 10;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    const double before = ProcessorSeconds();
    timer.start(kIntervalMs);
    QEventLoop loop;
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    loop.exec();
    Print("bare_timer_10ms_cpu_per_tick", (ProcessorSeconds() - before) / ticks * 1e6, "us");
}

// The longest time a HELP click keeps the event loop busy while the sound
// server hangs: it takes the connection and never answers.
void ReportHelpClickWithHungServer() {
    QTemporaryDir folder;
    QLocalServer hung;
    hung.listen(folder.filePath(QStringLiteral("pulse")));
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(hung.fullServerName()));
    WaveChimeDevice device({QStringLiteral(POKORIN_BIN_DIR)});
    Services services;
    MainWindow mainWindow(device, services.clock, services.random, services.quit);
    ShowUntilPainted(mainWindow);
    qint64 longest = 0;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer click;
        click.start();
        mainWindow.controls().helpButton->click();
        longest = std::max(longest, click.nsecsElapsed());
        ProcessUntil(
            [&mainWindow] { return QApplication::activeWindow() == mainWindow.help().window(); });
        mainWindow.help().window()->close();
        ProcessUntil([&mainWindow] { return mainWindow.help().window() == nullptr; });
    }
    Print("help_click_hung_server_max", longest / 1e6, "ms");
}

void ReportIdle() {
    const double before = ProcessorSeconds();
    QEventLoop loop;
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    Print("idle_cpu_2s", (ProcessorSeconds() - before) * 1000, "ms");
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args.at(1) == "--startup") {
        return StartUp(args.at(2), app);
    }
    ReportStartUp();
    ReportProgram();
    SetUpJapanese(app);
    Services services;
    MainWindow mainWindow(services.device, services.clock, services.random, services.quit);
    ShowUntilPainted(mainWindow);
    ReportMemoryGrowth(mainWindow);
    ReportInitialise(mainWindow);
    ReportActivation(mainWindow);
    for (int interval : {1, 10, 100}) {
        ReportCadence(mainWindow, interval);
    }
    ReportBareTimer();
    ReportIdle();
    ReportHelpClickWithHungServer();
    return 0;
}
