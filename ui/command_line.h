#pragma once

#include <QCommandLineParser>
#include <QStringList>

namespace pokorin {

// The program's own options, -h/--help and -v/--version. Qt's options
// (-platform, -style and the others) are QApplication's to take.
class ProgramCommandLine {
public:
    ProgramCommandLine();

    // True when the arguments ask for the help or the version, which need
    // no display; printInformation() then answers with the exit code 0.
    bool asksForInformation(const QStringList &arguments);
    int printInformation() const;

    // The arguments left after QApplication took its own: any of them is an
    // error, printed as one line. Returns false then.
    bool acceptsTheRest(const QStringList &arguments);

private:
    QCommandLineParser parser_;
};

} // namespace pokorin
