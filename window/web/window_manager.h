#pragma once

class QApplication;

namespace pokorin {

// Qt's web platform has no window manager: when the active window closes, it
// activates no other. The window beneath then takes no key, and learns that
// it is active only at its next click, after that click's press has reached
// the button under the pointer. As a desktop's window manager does, this
// hands the activation back at once to the window that had it before.
void HandBackActivationOnClose(QApplication &app);

} // namespace pokorin
