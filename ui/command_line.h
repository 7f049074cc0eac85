#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace pokorin {

// The programs' own options, read before any window or display exists:
// -h/--help, -v/--version, and the class's --port and --address; the
// experiment's program also takes --class, which starts the class's program
// instead. Qt's own options (-platform, -reverse, -style and the others) are
// left for QApplication, which takes them from argv itself.
class ProgramCommandLine {
public:
    enum class Program { Experiment, Class };

    explicit ProgramCommandLine(Program program = Program::Experiment);

    // The exit code when the program ends here: 0 after the help or the
    // version, 2 after a one-line error for anything neither we nor Qt know.
    // Nothing when the window may start.
    std::optional<int> answer(const QStringList &arguments);

    // Whether the class's program is to start instead of the experiment's.
    bool classMode() const;
    // The port to serve the class on and the address to show, if asked for.
    std::optional<quint16> classPort() const;
    std::optional<QString> classAddress() const;

private:
    QString name_;
    QCommandLineParser parser_;
};

// The program's arguments as main() gets them, in the system's encoding.
QStringList ArgumentsOf(int argc, char **argv);

// The arguments that are not Qt's own, with their values taken out too.
QStringList WithoutQtOptions(const QStringList &arguments);

} // namespace pokorin
