#include "app/platform.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace pokorin {

void SetUpPlatform(QApplication &) {} // the desktop draws the windows' frames

void ShareWithTheClass(const MainWindow &) {} // a desktop hosts a class, it joins none

// The class's program takes this one's place, so that whoever started
// `pokorin --class` (a terminal, the menu, a test) holds the class itself.
int StartClassProgram(const QString &folder, const QStringList &arguments) {
    QString program = QDir(folder).filePath("pokorin-class");
#ifdef _WIN32
    program += QStringLiteral(".exe");
#endif
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString &argument : arguments) {
        words.push_back(argument.toLocal8Bit());
    }
    std::vector<char *> argv;
    for (QByteArray &word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::fflush(stdout);
    execv(argv.front(), argv.data());
    std::fprintf(stderr, "pokorin: cannot start %s: %s\n", argv.front(), std::strerror(errno));
    return 2;
}

void ShowProgramEnded() {} // the process ends, and the desktop shows that

} // namespace pokorin
