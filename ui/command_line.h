#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace pokorin {

// The program's own options, -h/--help, -v/--version, --class and --port,
// read before any window or display exists. Qt's own options (-platform, -reverse, -style and
// the others) are left for QApplication, which takes them from argv itself.
class ProgramCommandLine {
public:
    ProgramCommandLine();

    // The exit code when the program ends here: 0 after the help or the
    // version, 2 after a one-line error for anything neither we nor Qt know.
    // Nothing when the window may start.
    std::optional<int> answer(const QStringList &arguments);

    // Whether the window to start is the teacher's class window, and on
    // which port it serves the class if one was asked for.
    bool classMode() const;
    std::optional<quint16> classPort() const;

private:
    QCommandLineParser parser_;
};

// The arguments that are not Qt's own, with their values taken out too.
QStringList WithoutQtOptions(const QStringList &arguments);

} // namespace pokorin
