#include "window/window_place.h"

#include <QWidget>

namespace pokorin {

QRect ScreenPlace(QRect designPlace) {
    return designPlace;
}

void ShowWindow(QWidget &window) {
    window.show();
}

} // namespace pokorin
