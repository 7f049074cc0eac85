#include "picture_box.h"

#include "twips.h"

#include <QPaintEvent>
#include <QPainter>

namespace pokorin {
namespace {

// The sunken bevel in whole logical pixels, one ring per pixel of its width
// (top and left in the first colour, bottom and right in the second). The
// surface is opaque, so the frame must cover its ring at every scale.
void DrawFrame(QPainter &painter, QRect ring, const QPalette &palette, PictureFrame frame) {
    const std::pair<QColor, QColor> shades[] = {
        {palette.color(QPalette::Dark), palette.color(QPalette::Light)},
        {palette.color(QPalette::Shadow), palette.color(QPalette::Midlight)},
    };
    const int rings = frame == PictureFrame::Sunken ? 2 : 1;
    for (int i = 0; i < rings; ++i, ring.adjust(1, 1, -1, -1)) {
        const auto &[topLeft, bottomRight] = shades[i];
        painter.fillRect(QRect(ring.topLeft(), QSize(ring.width(), 1)), topLeft);
        painter.fillRect(QRect(ring.topLeft(), QSize(1, ring.height())), topLeft);
        painter.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), bottomRight);
        painter.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), bottomRight);
    }
}

} // namespace

PictureBox::PictureBox(QSize outerSize, PictureFrame frame, UnitScale scale, QWidget *parent)
    : QWidget(parent)
    , frame_(frame)
    , scale_(scale)
    , background_(palette().color(QPalette::Button))
    , textFont_(font()) {
    resize(outerSize);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QSize area = outerSize - QSize(2 * frameWidth(), 2 * frameWidth());
    const qreal ratio = devicePixelRatioF();
    image_ = QImage(area * ratio, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(ratio);
    image_.fill(background_);
}

int PictureBox::frameWidth() const {
    return frame_ == PictureFrame::Sunken ? 2 : 1;
}

void PictureBox::setBackground(const QColor &colour) {
    background_ = colour;
    clear();
}

void PictureBox::setTextFont(const QFont &font) {
    textFont_ = font;
}

QPointF PictureBox::toPixels(BoardPoint point) const {
    const TwipPoint twips = UnitsToTwips(point, scale_);
    return {frameWidth() + twips.x / kTwipsPerPixel, frameWidth() + twips.y / kTwipsPerPixel};
}

void PictureBox::line(BoardPoint from, BoardPoint to, Rgb colour) {
    QPainter painter(&image_);
    painter.setPen(QPen(QColor(colour.red, colour.green, colour.blue), 1.0));
    const QPointF origin(frameWidth(), frameWidth());
    painter.drawLine(toPixels(from) - origin, toPixels(to) - origin);
    update();
}

void PictureBox::clear() {
    image_.fill(background_);
    current_ = {};
    texts_.clear();
    setAccessibleDescription({});
    update();
}

QStringList PictureBox::shownTexts() const {
    QStringList texts;
    for (const auto &[at, text] : texts_) {
        texts << text;
    }
    return texts;
}

void PictureBox::print(const std::string &text) {
    QPainter painter(&image_);
    painter.setFont(textFont_);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetricsF metrics(textFont_, &image_);
    const QPointF topLeft = toPixels(current_) - QPointF(frameWidth(), frameWidth());
    const QString shown = QString::fromStdString(text);
    // Opaque text: printing the same text again at the same place must not
    // darken its smoothed edges, or a repeated activation would show.
    painter.fillRect(QRectF(topLeft, QSizeF(metrics.horizontalAdvance(shown), metrics.height())),
                     background_);
    painter.drawText(topLeft + QPointF(0, metrics.ascent()), shown);
    remember(current_, shown);
    const double lineHeightTwips = metrics.height() * kTwipsPerPixel;
    current_ = {0.0f, current_.y + static_cast<float>(lineHeightTwips / scale_.yTwips)};
    update();
}

void PictureBox::remember(BoardPoint at, const QString &text) {
    texts_.removeIf([at](const auto &entry) { return entry.first == at; });
    const auto before = [](const auto &a, const auto &b) {
        return a.first.y < b.first.y || (a.first.y == b.first.y && a.first.x < b.first.x);
    };
    const std::pair<BoardPoint, QString> entry{at, text};
    texts_.insert(std::upper_bound(texts_.begin(), texts_.end(), entry, before) - texts_.begin(),
                  entry);
    setAccessibleDescription(shownTexts().join(u' '));
}

void PictureBox::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    const QPoint origin(frameWidth(), frameWidth());
    const qreal ratio = image_.devicePixelRatio();
    // Only the damaged parts are copied: a moving ball repaints two small
    // squares, not the whole board.
    for (const QRect &damaged : event->region()) {
        const QRect source = damaged.translated(-origin);
        painter.drawImage(QRectF(damaged), image_,
                          QRectF(source.topLeft() * ratio, source.size() * ratio));
    }
    const QRect inside = rect().adjusted(origin.x(), origin.y(), -origin.x(), -origin.y());
    if (inside.contains(event->region().boundingRect())) {
        return; // the frame is untouched
    }
    painter.setClipRegion(event->region());
    DrawFrame(painter, rect(), palette(), frame_);
}

} // namespace pokorin
