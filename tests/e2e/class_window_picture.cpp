// Draws the teacher's class window as it must look for a given state, on the
// display the end-to-end test shares with the real one, for the test to set
// beside a picture of it; prints where its "最初から" button is.
// Usage: class_window_picture WIDTH HEIGHT DEVICES "ADDRESS..." COUNT*11 OUTPUT.png

#include "teacher/class_window.h"
#include "ui/japanese_setup.h"

#include <QApplication>
#include <QPushButton>
#include <cstdio>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 17) {
        return 2;
    }
    pokorin::SetUpJapanese(app);
    pokorin::ClassShow shown{arguments.at(4).split(u' '), false, arguments.at(3).toInt(), {}};
    for (int k = 0; k < pokorin::kBinTotal; ++k) {
        shown.counts.at(k) = arguments.at(5 + k).toLong();
    }
    pokorin::ClassWindow window([] { return QByteArray(); });
    window.showClass(shown, {}, {});
    window.setFixedSize(arguments.at(1).toInt(), arguments.at(2).toInt());
    window.show();
    QApplication::processEvents();
    const QPoint button = window.startAfreshButton()->geometry().center();
    std::printf("%d %d\n", button.x(), button.y());
    return window.grab().save(arguments.at(16)) ? 0 : 1;
}
