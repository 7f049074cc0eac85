#include "activation_tracker.h"

#include "help/help_window.h"
#include "main_window.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace pokorin {
namespace {

ActivationTracker::Role RoleOf(QObject *window) {
    if (qobject_cast<MainWindow *>(window) != nullptr) {
        return ActivationTracker::Role::Main;
    }
    if (qobject_cast<HelpWindow *>(window) != nullptr) {
        return ActivationTracker::Role::Help;
    }
    return ActivationTracker::Role::Other;
}

} // namespace

ActivationTracker::ActivationTracker(QObject *parent)
    : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

// Application filters see the activation before the window itself does.
bool ActivationTracker::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->isWindow()) {
        previous_ = current_;
        current_ = RoleOf(watched);
    }
    return false;
}

} // namespace pokorin
