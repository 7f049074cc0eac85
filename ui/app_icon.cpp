#include "app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace pokorin {

QIcon PokorinIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(QColor(255, 192, 128));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(QPen(QColor(0, 0, 255), 1.5));
    constexpr int levels = 4;
    for (int k = 0; k < levels; ++k) {
        painter.drawLine(QPointF(16 + 4 * k, 7 + 4 * k), QPointF(4 + 8 * k, 23));
        painter.drawLine(QPointF(16 - 4 * k, 7 + 4 * k), QPointF(28 - 8 * k, 23));
    }
    painter.setPen(QPen(Qt::black, 1.5));
    for (int k = 0; k <= levels; ++k) {
        painter.drawLine(QPointF(2 + 7 * k, 25), QPointF(2 + 7 * k, 31));
    }
    painter.drawLine(QPointF(2, 31), QPointF(30, 31));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 0, 0));
    painter.drawEllipse(QPointF(16, 5), 4, 4);
    return QIcon(pixmap);
}

} // namespace pokorin
