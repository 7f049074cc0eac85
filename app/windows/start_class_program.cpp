#include "app/platform.h"

#include <QDir>
#include <QProcess>
#include <cstdio>

namespace pokorin {

// Windows has no exec: the class's program starts as a child with this one's
// standard streams and its arguments quoted for Windows' command line, which
// a folder such as "pokorin (1)" or a name in any script needs. This one waits
// for it, so that whoever started `pokorin --class` holds the class and learns
// how it ended.
int StartClassProgram(const QString &folder, const QStringList &arguments) {
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.setInputChannelMode(QProcess::ForwardedInputChannel);
    program.start(QDir(folder).filePath("pokorin-class.exe"), arguments);
    if (!program.waitForStarted(-1)) {
        std::fprintf(stderr, "pokorin: cannot start %s: %s\n",
                     qPrintable(QDir::toNativeSeparators(program.program())),
                     qPrintable(program.errorString()));
        return 2;
    }
    program.waitForFinished(-1);
    return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : 1;
}

} // namespace pokorin
