#include "window/web/window_manager.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace pokorin {
namespace {

// The program's windows, the most recently activated first.
class ActivationHistory final : public QObject {
public:
    explicit ActivationHistory(QObject *parent)
        : QObject(parent) {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!watched->isWidgetType() || !static_cast<QWidget *>(watched)->isWindow()) {
            return false;
        }
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::WindowActivate) {
            activated_.removeIf([window](const QPointer<QWidget> &each) {
                return each.isNull() || each == window;
            });
            activated_.prepend(window);
        } else if (event->type() == QEvent::Hide && !activated_.isEmpty() &&
                   activated_.first() == window && !QApplication::activeWindow()) {
            // The active window is hidden, which Qt has already deactivated.
            for (const QPointer<QWidget> &before : activated_) {
                if (before && before != window && before->isVisible()) {
                    before->activateWindow();
                    break;
                }
            }
        }
        return false;
    }

private:
    QList<QPointer<QWidget>> activated_;
};

} // namespace

void HandBackActivationOnClose(QApplication &app) {
    new ActivationHistory(&app);
}

} // namespace pokorin
