#include "app/platform.h"

#include "ui/app_icon.h"

#include <QApplication>
#include <emscripten.h>

namespace pokorin {

// Qt draws the windows' captions in a page, with its own logo where a window
// has no icon: the help window and the quit box show the program's instead.
void SetUpPlatform(QApplication &) {
    QApplication::setWindowIcon(PokorinIcon());
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
