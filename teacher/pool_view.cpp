#include "pool_view.h"

#include "class_look.h"
#include "core/ratios.h"
#include "core/shown_texts.h"
#include "pool/landing_statistics.h"
#include "qr_code.h"

#include <QPainter>
#include <cmath>
#include <numeric>

namespace pokorin {

PoolView::PoolView(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(kClassTitle);
}

void PoolView::show(const ClassShow &shown) {
    if (shown.joinAddresses != shown_.joinAddresses) {
        qrCode_ = shown.joinAddresses.isEmpty() ? QImage() : QrCode(shown.joinAddresses.first());
    }
    shown_ = shown;
    update();
}

void PoolView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const double pad = 0.02 * std::min(width(), height());
    const QRectF inside = QRectF(rect()).adjusted(pad, pad, -pad, -pad);
    const double binsLeft = inside.left() + 0.2 * inside.width();
    const double joining = 0.3 * inside.height(), strips = 0.14 * inside.height();
    paintJoining(painter, inside.adjusted(0, 0, 0, joining - inside.height()));
    const QRectF bars = inside.adjusted(0, joining + pad, 0, -strips);
    paintBars(painter, bars, binsLeft);
    // Beside the bars, under their legend, in the column of the strips' headings.
    const double slot = (inside.right() - binsLeft) / kBinTotal;
    paintSteps(painter, QRectF(bars.left(), bars.top() + 0.16 * bars.height(),
                               binsLeft - bars.left() - slot / 4, 0.72 * bars.height()));
    paintStrips(painter, inside.adjusted(0, inside.height() - strips, 0, 0), binsLeft);
}

// The title, how to join, and the class's numbers at the left; the QR code
// as large as the band at the right.
void PoolView::paintJoining(QPainter &painter, QRectF area) const {
    const double line = area.height() / 5;
    QRectF texts = area;
    if (!qrCode_.isNull()) {
        // Whole pixels a module keep the code sharp.
        const int module = static_cast<int>(area.height() / qrCode_.width());
        const QRectF code(area.right() - module * qrCode_.width(), area.top(),
                          module * qrCode_.width(), module * qrCode_.width());
        painter.drawImage(code.toRect(), qrCode_);
        texts.setRight(code.left() - line);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    FittedText(painter, texts, kClassTitle, line, true);
    const bool joinable = !shown_.joinAddresses.isEmpty();
    FittedText(painter, texts.adjusted(0, 1.15 * line, 0, 0),
               joinable ? kJoinCaption : kNoPageCaption, line * 0.55, false);
    if (joinable) {
        FittedText(painter, texts.adjusted(0, 1.8 * line, 0, 0), shown_.joinAddresses.first(),
                   line * 1.3, true);
    }
    if (shown_.joinAddresses.size() > 1) {
        FittedText(painter, texts.adjusted(0, 3.15 * line, 0, 0),
                   QString(kOtherAddressesCaption).arg(shown_.joinAddresses.mid(1).join(kGap)),
                   line * 0.4, false);
    }
    const long balls = std::accumulate(shown_.counts.begin(), shown_.counts.end(), 0L);
    QString numbers =
        QString(kDevicesCaption).arg(shown_.devices) + kWideGap + QString(kBallsCaption).arg(balls);
    if (shown_.refused > 0) {
        numbers += kWideGap + QString(kRefusedCaption).arg(shown_.refused);
    }
    FittedText(painter, texts.adjusted(0, 3.6 * line, 0, 0), numbers, line * 0.85, true);
    const QString warning = !shown_.problem.isEmpty() ? shown_.problem
                            : shown_.nobodyJoined     ? QString(kNobodyJoinedHint)
                                                      : QString();
    if (!warning.isEmpty()) {
        painter.setPen(kBallRed);
        FittedText(painter, texts.adjusted(0, 4.5 * line, 0, 0), warning, line * 0.45, true);
        painter.setPen(palette().color(QPalette::WindowText));
    }
}

// Bars scaled to the tallest of the bars and the expectations, each bin's
// expectation as a blue bar top over it, and the counts under the bins.
void PoolView::paintBars(QPainter &painter, QRectF area, double binsLeft) const {
    const long balls = std::accumulate(shown_.counts.begin(), shown_.counts.end(), 0L);
    const double tallest = std::max<double>(
        {1.0, static_cast<double>(*std::max_element(shown_.counts.begin(), shown_.counts.end())),
         balls * BinProbability(6)});
    const double slot = (area.right() - binsLeft) / kBinTotal;
    const double countsHeight = 0.12 * area.height();
    const double floor = area.bottom() - countsHeight;
    const double scale = (floor - area.top()) / tallest;
    painter.setPen(QPen(palette().color(QPalette::WindowText), std::max(1.0, slot / 60)));
    painter.drawLine(QPointF(binsLeft, floor), QPointF(area.right(), floor));
    for (int k = 1; k <= kBinTotal; ++k) {
        const double left = binsLeft + (k - 1) * slot;
        const long count = shown_.counts.at(k - 1);
        painter.fillRect(
            QRectF(left + 0.2 * slot, floor - count * scale, 0.6 * slot, count * scale), kBallRed);
        const double expected = floor - balls * BinProbability(k) * scale;
        painter.fillRect(QRectF(left + 0.1 * slot, expected - slot / 30, 0.8 * slot, slot / 15),
                         kLatticeBlue);
        painter.setFont(Face(0.6 * countsHeight, true));
        painter.drawText(QRectF(left, floor, slot, countsHeight), Qt::AlignCenter,
                         QString::number(count));
    }
    // The legend: what the blue marks are.
    const QRectF legend(area.left(), area.top(), binsLeft - area.left() - slot / 4, countsHeight);
    painter.fillRect(QRectF(legend.left(), legend.center().y() - slot / 30, slot / 2, slot / 15),
                     kLatticeBlue);
    FittedText(painter, legend.adjusted(0.6 * slot, 0, 0, 0), kExpectationCaption,
               0.5 * countsHeight, false);
}

// The pooled landings' mean and variance in steps to the right, in red as
// the bars, beside the theory's, in blue as its marks.
void PoolView::paintSteps(QPainter &painter, QRectF area) const {
    const double row = std::min(area.height() / 7, area.width() / 5);
    const auto line = [&](int at, double from, double to) {
        return QRectF(area.left() + from * area.width(), area.top() + at * row,
                      (to - from) * area.width(), row);
    };
    const Qt::Alignment middle = Qt::AlignLeft | Qt::AlignVCenter;
    const QColor text = palette().color(QPalette::WindowText);
    painter.setPen(text);
    FittedText(painter, line(0, 0, 1), kStepsHeading, 0.8 * row, true, middle);
    FittedText(painter, line(1, 0, 1), kStepsNote, 0.55 * row, false, middle);
    FittedText(painter, line(2, 0.3, 0.65), kStepsExperiment, 0.6 * row, false, middle);
    FittedText(painter, line(2, 0.67, 1), kStepsTheory, 0.6 * row, false, middle);
    const std::optional<LandingStatistics> pooled = StepStatistics(shown_.counts);
    const auto figures = [&](int at, const char *name, const QString &experiment, double theory) {
        painter.setPen(text);
        FittedText(painter, line(at, 0, 0.3), name, 0.7 * row, true, middle);
        painter.setPen(kBallRed);
        FittedText(painter, line(at, 0.3, 0.65), experiment, 0.7 * row, true, middle);
        painter.setPen(kLatticeBlue);
        FittedText(painter, line(at, 0.67, 1), ThousandthsText(theory), 0.7 * row, true, middle);
    };
    figures(3, kStepsMean, pooled ? ThousandthsText(pooled->mean) : QString(),
            kTheoryStatistics.mean);
    figures(4, kStepsVariance, pooled ? ThousandthsText(pooled->variance) : QString(),
            kTheoryStatistics.variance);
    painter.setPen(text);
    FittedText(painter, line(5, 0, 1), kStepsTheoryNote, 0.55 * row, false, middle);
    FittedText(painter, line(6, 0, 1), kStepsVarianceNote, 0.55 * row, false, middle);
}

// The theory's probabilities and the pooled ratios, each centred under its
// bin after its heading, in the main window's "0.000" form.
void PoolView::paintStrips(QPainter &painter, QRectF area, double binsLeft) const {
    const long balls = std::accumulate(shown_.counts.begin(), shown_.counts.end(), 0L);
    const double row = area.height() / 2, slot = (area.right() - binsLeft) / kBinTotal;
    for (int strip = 0; strip < 2; ++strip) {
        const QRectF line(area.left(), area.top() + strip * row, area.width(), row);
        FittedText(painter, QRectF(line.left(), line.top(), binsLeft - line.left(), row),
                   strip == 0 ? kTheoryHeading : kRatioHeading, 0.6 * row, false);
        painter.setFont(Face(std::min(0.6 * row, slot / 4)));
        for (int k = 1; k <= kBinTotal; ++k) {
            const long count = shown_.counts.at(k - 1);
            const QString text = strip == 0  ? QString(kTheoryTexts.at(k - 1))
                                 : balls > 0 ? QString::fromStdString(FormatRatio(count, balls))
                                             : QString();
            painter.drawText(QRectF(binsLeft + (k - 1) * slot, line.top(), slot, row),
                             Qt::AlignHCenter | Qt::AlignTop, text);
        }
    }
}

} // namespace pokorin
