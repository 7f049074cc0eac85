#include "app/platform.h"
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

int main(int argc, char **argv) {
    QCoreApplication::setApplicationName(QStringLiteral("pokorin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(POKORIN_VERSION));
    // Before QApplication, which needs a display and would abort without one.
    pokorin::ProgramCommandLine commandLine;
    const QStringList arguments = pokorin::ArgumentsOf(argc, argv);
    if (const std::optional<int> exitCode = commandLine.answer(arguments)) {
        return *exitCode;
    }
    if (commandLine.classMode()) {
        QStringList forwarded = arguments.mid(1);
        forwarded.removeIf(
            [](const QString &word) { return word == "--class" || word == "-class"; });
        const QCoreApplication located(argc, argv); // which knows the program's folder
        return pokorin::StartClassProgram(QCoreApplication::applicationDirPath(), forwarded);
    }
    QApplication app(argc, argv);
    pokorin::SetUpJapanese(app);
    pokorin::SetUpPlatform(app);
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
