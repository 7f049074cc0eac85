#pragma once

#include "help_window.h"

#include <QPointer>

namespace pokorin {

// Keeps at most one help window: shows it, creating it first when it does
// not exist, and brings it to the front when it does, minimised or not.
class HelpLauncher {
public:
    void show();
    // Closes the help window, if it is open; it is then destroyed.
    void close();
    // The open help window, or null.
    HelpWindow *window() const { return window_; }

private:
    QPointer<HelpWindow> window_;
};

} // namespace pokorin
