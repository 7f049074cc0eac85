#include "right_to_left.h"

#include <QStyle>
#include <QWidget>

namespace pokorin {

void MirrorForRightToLeft(QWidget &window) {
    if (!window.isRightToLeft()) {
        return;
    }
    for (QWidget *control : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        control->setGeometry(
            QStyle::visualRect(Qt::RightToLeft, window.rect(), control->geometry()));
    }
}

} // namespace pokorin
