// Writes the program's icon, 32 x 32 unless a size is given, as PNG or as
// Windows' ICO by the output's name.
// Usage: pokorin-icon OUTPUT.png|OUTPUT.ico [SIZE]

#include "ui/app_icon.h"

#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen"); // runs during the build, without a display
    QGuiApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fputs("usage: pokorin-icon OUTPUT.png|OUTPUT.ico [SIZE]\n", stderr);
        return 2;
    }
    const int size = argc == 3 ? std::atoi(argv[2]) : 32;
    return pokorin::PokorinIcon(size).pixmap(size, size).save(QString::fromLocal8Bit(argv[1])) ? 0
                                                                                               : 1;
}
