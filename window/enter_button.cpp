#include "enter_button.h"

#include <QKeyEvent>

namespace pokorin {

EnterButton::EnterButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent) {
    setAutoDefault(false);
}

void EnterButton::keyPressEvent(QKeyEvent *event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain) {
        if (!event->isAutoRepeat()) { // holding the key down starts one run, not many
            click();
        }
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace pokorin
