#include "help_launcher.h"

namespace pokorin {

void HelpLauncher::show() {
    if (!window_) {
        window_ = new Form2; // owned by no window; deletes itself on close
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void HelpLauncher::close() {
    if (window_) {
        window_->close();
    }
}

} // namespace pokorin
