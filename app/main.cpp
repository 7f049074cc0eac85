#include "app/platform.h"
#include "app/run_class.h"
#include "core/local_clock.h"
#include "core/xoshiro_generator.h"
#include "sound/chime_files.h"
#include "sound/wave_chime_device.h"
#include "ui/command_line.h"
#include "ui/japanese_setup.h"
#include "ui/main_window.h"
#include "ui/quit_box.h"
#include "window/window_place.h"

#include <QApplication>

namespace {

QStringList Arguments(int argc, char **argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication::setApplicationName(QStringLiteral("pokorin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(POKORIN_VERSION));
    // Before QApplication, which needs a display and would abort without one.
    pokorin::ProgramCommandLine commandLine;
    if (const std::optional<int> exitCode = commandLine.answer(Arguments(argc, argv))) {
        return *exitCode;
    }
    QApplication app(argc, argv);
    pokorin::SetUpJapanese(app);
    pokorin::SetUpPlatform(app);
    if (commandLine.classMode()) {
        return pokorin::RunClass(app, commandLine.classPort());
    }
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &pokorin::ShowProgramEnded);

    pokorin::WaveChimeDevice device(pokorin::ChimeDataFolders());
    pokorin::LocalClock clock;
    pokorin::XoshiroGenerator generator;
    pokorin::QuitBox quitBox;
    pokorin::MainWindow mainWindow(device, clock, generator, quitBox);
    pokorin::ShareWithTheClass(mainWindow);
    pokorin::ShowWindow(mainWindow);
    return QApplication::exec();
}
