#include "window/window_place.h"

#include <QWidget>

namespace pokorin {

// The page's screen is just the main window's frame.
QRect ScreenPlace(QRect designPlace) {
    const QPoint mainWindowClient(kPageWindowFrame.left(), kPageWindowFrame.top());
    return designPlace.translated(mainWindowClient - MainWindowDesignPlace().topLeft());
}

void ShowWindow(QWidget &window) {
    window.showNormal();
}

} // namespace pokorin
