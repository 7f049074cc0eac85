#include "sim/local_clock.h"
#include "sim/xoshiro_generator.h"
#include "sound/chime_device.h"
#include "sound/chime_files.h"
#include "ui/japanese_setup.h"
#include "ui/main_window.h"
#include "ui/quit_box.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    pokorin::SetUpJapanese(app);

    pokorin::ChimeDevice device(pokorin::ChimeDataFolders());
    pokorin::LocalClock clock;
    pokorin::XoshiroGenerator generator;
    pokorin::QuitBox quitBox;
    pokorin::Form1 form(device, clock, generator, quitBox);
    form.show();
    return QApplication::exec();
}
