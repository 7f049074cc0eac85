#include <QApplication>
#include <QWidget>
#include <emscripten/bind.h>

namespace {

// The page has scaled its screen to the browser window: every window is drawn
// afresh, at the new pixel ratio.
void Refit() {
    for (QWidget *window : QApplication::topLevelWidgets()) {
        window->update();
    }
}

} // namespace

EMSCRIPTEN_BINDINGS(pokorin_page) {
    emscripten::function("pokorinRefit", &Refit);
}
