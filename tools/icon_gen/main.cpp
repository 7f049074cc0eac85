// Writes the program's icon at 32 x 32, as PNG or as Windows' ICO by the
// output's name.
// Usage: pokorin-icon OUTPUT.png|OUTPUT.ico

#include "ui/app_icon.h"

#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen"); // runs during the build, without a display
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: pokorin-icon OUTPUT.png|OUTPUT.ico\n", stderr);
        return 2;
    }
    return pokorin::PokorinIcon().pixmap(32, 32).save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
