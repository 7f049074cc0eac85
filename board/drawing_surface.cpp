#include "drawing_surface.h"

#include "window/twips.h"

#include <QPaintEvent>
#include <QPainter>

namespace pokorin {
namespace {

// The sunken bevel in whole logical pixels, one ring per pixel of its width
// (top and left in the first colour, bottom and right in the second). The
// surface is opaque, so the frame must cover its ring at every scale.
void DrawFrame(QPainter &painter, QRect ring, const QPalette &palette, int rings) {
    const std::pair<QColor, QColor> shades[] = {
        {palette.color(QPalette::Dark), palette.color(QPalette::Light)},
        {palette.color(QPalette::Shadow), palette.color(QPalette::Midlight)},
    };
    for (int i = 0; i < rings; ++i, ring.adjust(1, 1, -1, -1)) {
        const auto &[topLeft, bottomRight] = shades[i];
        painter.fillRect(QRect(ring.topLeft(), QSize(ring.width(), 1)), topLeft);
        painter.fillRect(QRect(ring.topLeft(), QSize(1, ring.height())), topLeft);
        painter.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), bottomRight);
        painter.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), bottomRight);
    }
}

} // namespace

DrawingSurface::DrawingSurface(QSize outerSize, SurfaceFrame frame, UnitScale scale,
                               QWidget *parent)
    : QWidget(parent)
    , frame_(frame)
    , scale_(scale)
    , background_(palette().color(QPalette::Button))
    , textFont_(font()) {
    resize(outerSize);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    newImage();
}

void DrawingSurface::newImage() {
    const qreal ratio = devicePixelRatioF();
    image_ = QImage((size() - QSize(2 * frameWidth(), 2 * frameWidth())) * ratio,
                    QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(ratio);
    image_.fill(background_);
    for (const Drawn &drawn : drawn_) {
        draw(drawn);
    }
}

int DrawingSurface::frameWidth() const {
    return frame_ == SurfaceFrame::Sunken ? 2 : 1;
}

void DrawingSurface::setBackground(const QColor &colour) {
    background_ = colour;
    clear();
}

void DrawingSurface::setTextFont(const QFont &font) {
    textFont_ = font;
}

QPointF DrawingSurface::toPixels(BoardPoint point) const {
    return {frameWidth() + point.x * scale_.xTwips / kTwipsPerPixel,
            frameWidth() + point.y * scale_.yTwips / kTwipsPerPixel};
}

void DrawingSurface::line(BoardPoint from, BoardPoint to, const QColor &colour) {
    drawn_.append({from, to, colour, std::nullopt});
    draw(drawn_.last());
}

void DrawingSurface::clear() {
    drawn_.clear();
    image_.fill(background_);
    setAccessibleDescription({});
    update();
}

BoardPoint DrawingSurface::print(BoardPoint at, const QString &text) {
    drawn_.append({at, at, palette().color(QPalette::WindowText), text});
    draw(drawn_.last());
    setAccessibleDescription(shownTexts().join(u' '));
    const QFontMetricsF metrics(textFont_, &image_);
    const double lineHeightTwips = metrics.height() * kTwipsPerPixel;
    return {0.0f, at.y + static_cast<float>(lineHeightTwips / scale_.yTwips)};
}

QStringList DrawingSurface::shownTexts() const {
    QStringList texts;
    for (const Drawn &drawn : drawn_) {
        if (drawn.text) {
            texts << *drawn.text;
        }
    }
    return texts;
}

void DrawingSurface::draw(const Drawn &drawn) {
    QPainter painter(&image_);
    const QPointF origin(frameWidth(), frameWidth());
    if (drawn.text) {
        painter.setFont(textFont_);
        painter.setPen(drawn.colour);
        const QFontMetricsF metrics(textFont_, &image_);
        painter.drawText(toPixels(drawn.from) - origin + QPointF(0, metrics.ascent()), *drawn.text);
    } else {
        painter.setPen(QPen(drawn.colour, 1.0));
        painter.drawLine(toPixels(drawn.from) - origin, toPixels(drawn.to) - origin);
    }
    update();
}

void DrawingSurface::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    paintImage(painter, event->region());
}

void DrawingSurface::paintImage(QPainter &painter, const QRegion &part) {
    if (!qFuzzyCompare(image_.devicePixelRatio(), devicePixelRatioF())) {
        newImage();
    }
    const QPoint origin(frameWidth(), frameWidth());
    const qreal ratio = image_.devicePixelRatio();
    // Only the damaged parts are copied: a moving ball repaints two small
    // squares, not the whole board.
    for (const QRect &damaged : part) {
        const QRect source = damaged.translated(-origin);
        painter.drawImage(QRectF(damaged), image_,
                          QRectF(source.topLeft() * ratio, source.size() * ratio));
    }
    const QRect inside = rect().adjusted(origin.x(), origin.y(), -origin.x(), -origin.y());
    if (inside.contains(part.boundingRect())) {
        return; // the frame is untouched
    }
    painter.save();
    painter.setClipRegion(part);
    DrawFrame(painter, rect(), palette(), frameWidth());
    painter.restore();
}

} // namespace pokorin
