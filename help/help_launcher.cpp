#include "help_launcher.h"

#include "window/window_place.h"

namespace pokorin {

void HelpLauncher::show() {
    if (!window_) {
        window_ = new HelpWindow; // owned by no window; deletes itself on close
    }
    // A minimised help window comes back as it was, in front and active.
    window_->setWindowState((window_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    ShowWindow(*window_);
    window_->raise();
    window_->activateWindow();
}

void HelpLauncher::close() {
    if (window_) {
        window_->close();
    }
}

} // namespace pokorin
