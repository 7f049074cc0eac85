#include "activation_tracker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace pokorin {

ActivationTracker::ActivationTracker(QObject *parent)
    : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

// Application filters see the activation before the window itself does.
bool ActivationTracker::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->isWindow()) {
        previous_ = current_;
        current_ = watched->metaObject();
    }
    return false;
}

} // namespace pokorin
