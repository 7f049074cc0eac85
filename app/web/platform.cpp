#include "app/platform.h"

#include "ui/app_icon.h"
#include "ui/main_window.h"
#include "window/web/window_manager.h"

#include <QApplication>
#include <cstdio>
#include <emscripten.h>

namespace pokorin {
namespace {

// The eleven counts, in bin order, to the page. JavaScript follows, which
// clang-format would mangle.
// clang-format off
EM_JS(void, SendCounts, (const int16_t *bins), {
    if (globalThis.pokorinCounts) {
        globalThis.pokorinCounts(...HEAP16.subarray(bins >> 1, (bins >> 1) + 11));
    }
});
// clang-format on

} // namespace

// Qt draws the windows' captions in a page, with its own logo where a window
// has no icon: the help window and the quit box show the program's instead.
// The main window is active again as soon as the help window closes, as on
// the desktop, where coming back from it takes 停止 and 初期化 away.
void SetUpPlatform(QApplication &app) {
    QApplication::setWindowIcon(PokorinIcon());
    HandBackActivationOnClose(app);
}

// index.html sends the teacher the counts after each change, when the page
// was opened from a teacher's address.
void ShareWithTheClass(const MainWindow &window) {
    QObject::connect(&window, &MainWindow::binsChanged, [&window] {
        const BinCounts &bins = window.experiment().bins;
        SendCounts(&*bins.begin());
    });
}

// A page hosts no class: the teacher's class window is a program of its own.
int StartClassProgram(const QString &, const QStringList &) {
    std::fputs("pokorin: a page cannot host a class\n", stderr);
    return 2;
}

// A page may not close its tab: index.html shows the notice instead.
void ShowProgramEnded() {
    EM_ASM({
        if (globalThis.pokorinEnded) {
            globalThis.pokorinEnded();
        }
    });
}

} // namespace pokorin
