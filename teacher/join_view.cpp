#include "join_view.h"

#include "class_look.h"
#include "core/shown_texts.h"
#include "qr_code.h"

#include <QPainter>

namespace pokorin {

JoinView::JoinView(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(kJoinViewButton);
}

void JoinView::showAddresses(const QStringList &joinAddresses) {
    if (joinAddresses != addresses_) {
        addresses_ = joinAddresses;
        qrCode_ = addresses_.isEmpty() ? QImage() : QrCode(addresses_.first());
        update();
    }
}

void JoinView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    const double pad = 0.02 * std::min(width(), height()), line = 0.06 * height();
    const QRectF inside = QRectF(rect()).adjusted(pad, pad, -pad, -pad);
    FittedText(painter, inside, addresses_.isEmpty() ? kNoPageCaption : kJoinCaption, line, true,
               Qt::AlignHCenter | Qt::AlignTop);
    if (qrCode_.isNull()) {
        return;
    }
    // Whole pixels a module keep the code sharp.
    const double room = std::min(inside.width(), inside.height() - 3.6 * line);
    const int module = std::max(1, static_cast<int>(room / qrCode_.width()));
    const int side = module * qrCode_.width();
    const QRect code(static_cast<int>(inside.center().x()) - side / 2,
                     static_cast<int>(inside.top() + 1.3 * line), side, side);
    painter.drawImage(code, qrCode_);
    const QRectF under(inside.left(), code.bottom() + 0.3 * line, inside.width(), inside.bottom());
    FittedText(painter, under, addresses_.first(), line, true, Qt::AlignHCenter | Qt::AlignTop);
    if (addresses_.size() > 1) {
        FittedText(painter, under.adjusted(0, 1.2 * line, 0, 0),
                   QString(kOtherAddressesCaption).arg(addresses_.mid(1).join(kGap)), 0.5 * line,
                   false, Qt::AlignHCenter | Qt::AlignTop);
    }
}

} // namespace pokorin
