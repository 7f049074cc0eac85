#include "app/platform.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace pokorin {

// The class's program takes this one's place, so that whoever started
// `pokorin --class` (a terminal, the menu, a test) holds the class itself.
int StartClassProgram(const QString &folder, const QStringList &arguments) {
    const QString program = QDir(folder).filePath("pokorin-class");
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

} // namespace pokorin
