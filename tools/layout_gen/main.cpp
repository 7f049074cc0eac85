// Writes what the scripts that drive the windows need to know of their
// layout, in logical pixels of a window's client area at scale 1, one fact a
// line as places.txt has them (a window's place on a desktop and its size;
// the board's frame, and where its units start and how long one is): taken from the program's own
// tables, so that no script keeps a copy of its own. Usage: pokorin-layout OUTPUT

#include "board/board_view.h"
#include "core/fall_speed.h"
#include "help/help_window.h"
#include "ui/main_window_controls.h"
#include "window/window_place.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

using namespace pokorin;

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen"); // runs during the build, without a display
    QApplication app(argc, argv);
    QFile out(QString::fromLocal8Bit(argc == 2 ? argv[1] : ""));
    if (argc != 2 || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fputs("usage: pokorin-layout OUTPUT\n", stderr);
        return 2;
    }
    QWidget window;
    const MainWindowControls controls = BuildMainWindowControls(&window);
    const QPointF board = controls.board->mapTo(&window, controls.board->toPixels({}));
    const QPointF unit = controls.board->toPixels({1, 1}) - controls.board->toPixels({});
    const QRect main = MainWindowDesignPlace();
    const QRect boardFrame = controls.board->geometry();
    const QPoint help = HelpWindow::firstGeometry().topLeft() - MainWindowDesignPlace().topLeft();
    const QMargins frame = kPageWindowFrame;
    QTextStream(&out) << "# Made by pokorin-layout from the program's own tables.\n"
                      << "main-window " << main.x() << ' ' << main.y() << ' ' << main.width() << ' '
                      << main.height() << '\n'
                      << "help-window " << help.x() << ' ' << help.y() << '\n'
                      << "page-frame " << frame.left() << ' ' << frame.top() << ' ' << frame.right()
                      << ' ' << frame.bottom() << '\n'
                      << "board-frame " << boardFrame.x() << ' ' << boardFrame.y() << ' '
                      << boardFrame.width() << ' ' << boardFrame.height() << '\n'
                      << "board " << board.x() << ' ' << board.y() << ' ' << unit.x() << ' '
                      << unit.y() << '\n'
                      << "fall-speed-default " << kDefaultIntervalMs << '\n';
    return 0;
}
