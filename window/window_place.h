#pragma once

// window/: what every window shares: the design's units, the Japanese face,
// the Enter button, the rule, right-to-left mirroring and window places.

#include "twips.h"

class QWidget;

namespace pokorin {

// The frame of both windows: a caption with the system menu, minimise and
// close, and no maximise, since their layout is fixed.
constexpr Qt::WindowFlags kFixedWindowFrame =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// Qt's web platform draws a frame of 4 pixels and a caption of 18 around a
// window it does not show over the whole page: the page's screen is the main
// window's client area with this frame around it.
constexpr QMargins kPageWindowFrame{4, 4 + 18 + 4, 4, 4};

// Where the design puts the main window's client area on the screen.
inline QRect MainWindowDesignPlace() {
    return TwipsRect(2775, 1500, 9840, 8130);
}

// Where a window's client area, placed on the screen by the design, lands on
// this platform's screen: on a desktop where the design says; in a page, the
// same distance from the main window, whose frame fills the page's screen.
QRect ScreenPlace(QRect designPlace);

// Shows a top-level window at its place, with its frame and caption: a page
// would otherwise show it over the whole page.
void ShowWindow(QWidget &window);

} // namespace pokorin
