#include "window/window_place.h"

#include <QWidget>

namespace pokorin {
namespace {

// Qt's web platform draws a frame of 4 pixels and a caption of 18 around a
// window it does not show over the whole page: the page's screen is just the
// main window's frame, and its client area starts here.
constexpr QPoint kMainWindowClient{4, 4 + 18 + 4};

} // namespace

QRect ScreenPlace(QRect designPlace) {
    return designPlace.translated(kMainWindowClient - MainWindowDesignPlace().topLeft());
}

void ShowWindow(QWidget &window) {
    window.showNormal();
}

} // namespace pokorin
