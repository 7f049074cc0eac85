// The yardstick of the programs' start-up: a bare Qt window showing one line
// of Japanese in the program's face, at the main window's size, linking no
// more of Qt than a window needs.

#include "core/shown_texts.h"
#include "ui/japanese_setup.h"
#include "ui/main_window_design.h"
#include "window/fonts.h"
#include "window/window_place.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    pokorin::SetUpJapanese(app);
    QLabel label(pokorin::kTitle);
    label.setFont(pokorin::DesignFont(pokorin::kTitleDesign.pointSize, pokorin::kTitleDesign.bold));
    label.resize(pokorin::MainWindowDesignPlace().size());
    label.show();
    return QApplication::exec();
}
