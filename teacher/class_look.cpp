#include "class_look.h"

#include "core/ratios.h"
#include "window/fonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace pokorin {

QFont Face(double pixels, bool bold) {
    QFont font = DesignFont(12, bold);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    return font;
}

QString ThousandthsText(double value) {
    return QString::fromStdString(FormatThousandths(value));
}

void FittedText(QPainter &painter, QRectF area, const QString &text, double pixels, bool bold,
                Qt::Alignment alignment) {
    QFont font = Face(pixels, bold);
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > area.width()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    painter.setFont(font);
    painter.drawText(area, alignment, text);
}

} // namespace pokorin
