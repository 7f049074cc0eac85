#include "gap_chart_view.h"

#include "class_look.h"
#include "core/shown_texts.h"
#include "pool/chance_band.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace pokorin {
namespace {

const QColor kBandGround(0, 0, 255, 40);
const QColor kDecadeGrey(170, 170, 170);
const QColor kStepGrey(225, 225, 225);
// Enough points that the band's edges look straight at any size.
constexpr int kBandSamples = 48;

// A decade's value as a teacher writes it: 1000, 0.01.
QString DecadeText(double decade) {
    return QString::number(decade, 'f',
                           std::max(0, static_cast<int>(std::lround(-std::log10(decade)))));
}

} // namespace

QPointF GapChartView::Plot::at(double balls, double gap) const {
    return {area.left() + scales.balls.place(balls) * area.width(),
            area.bottom() - scales.gap.place(gap) * area.height()};
}

GapChartView::GapChartView(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(kChartViewButton);
}

void GapChartView::showGaps(QList<GapPoint> gaps) {
    gaps_ = std::move(gaps);
    update();
}

// Everything in units of the text's size, which follows the window's.
void GapChartView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setRenderHint(QPainter::Antialiasing);
    const double em = std::min(width() / 40.0, height() / 22.0);
    const QRectF inside = QRectF(rect()).adjusted(em, em / 2, -em, -em / 2);
    const Plot plot{inside.adjusted(4.5 * em, 3 * em, -em / 2, -3.6 * em), ScalesFor(gaps_)};
    paintTexts(painter, inside, plot.area, em);
    paintGrid(painter, plot, em);
    painter.save();
    painter.setClipRect(plot.area);
    paintBand(painter, plot, em);
    paintPoints(painter, plot, em);
    painter.restore();
    paintLegend(painter, plot, em);
}

// The title and the latest point over the plot; the axes' names beside and
// under it, and what the band is at the foot.
void GapChartView::paintTexts(QPainter &painter, QRectF inside, QRectF plot, double em) const {
    const Qt::Alignment middle = Qt::AlignLeft | Qt::AlignVCenter;
    painter.setPen(palette().color(QPalette::WindowText));
    FittedText(painter, QRectF(inside.left(), inside.top(), inside.width(), 1.5 * em), kChartTitle,
               1.1 * em, true, middle);
    const QRectF now(inside.left(), inside.top() + 1.5 * em, inside.width(), 1.2 * em);
    if (gaps_.isEmpty()) {
        FittedText(painter, now, kChartNoPoints, 0.8 * em, false, middle);
    } else {
        FittedText(painter, now,
                   QString(kChartNowCaption)
                       .arg(gaps_.last().balls)
                       .arg(ThousandthsText(gaps_.last().gap)),
                   0.8 * em, true, middle);
    }
    FittedText(painter, QRectF(plot.left(), plot.bottom() + 1.3 * em, plot.width(), 1.2 * em),
               kChartBallsAxis, 0.8 * em, true, Qt::AlignHCenter | Qt::AlignVCenter);
    FittedText(painter, QRectF(inside.left(), inside.bottom() - 1.1 * em, inside.width(), 1.1 * em),
               kChartBandCaption, 0.7 * em, false, middle);
    painter.save();
    painter.translate(inside.left(), plot.bottom());
    painter.rotate(-90);
    FittedText(painter, QRectF(0, 0, plot.height(), 1.2 * em), kChartGapAxis, 0.8 * em, true,
               Qt::AlignHCenter | Qt::AlignVCenter);
    painter.restore();
}

// A line at each decade with its value, lighter lines at its multiples.
void GapChartView::paintGrid(QPainter &painter, const Plot &plot, double em) const {
    const QRectF area = plot.area;
    painter.setFont(Face(0.75 * em));
    for (const double decade : plot.scales.balls.decades()) {
        for (int times = 2; times < 10 && decade * times < plot.scales.balls.end(); ++times) {
            const double x = plot.at(decade * times, 1).x();
            painter.setPen(QPen(kStepGrey, em / 20));
            painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        }
        const double x = plot.at(decade, 1).x();
        painter.setPen(QPen(kDecadeGrey, em / 12));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRectF(x - 3 * em, area.bottom() + 0.2 * em, 6 * em, em),
                         Qt::AlignHCenter | Qt::AlignTop, DecadeText(decade));
    }
    for (const double decade : plot.scales.gap.decades()) {
        for (int times = 2; times < 10 && decade * times < plot.scales.gap.end(); ++times) {
            const double y = plot.at(1, decade * times).y();
            painter.setPen(QPen(kStepGrey, em / 20));
            painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        }
        const double y = plot.at(1, decade).y();
        painter.setPen(QPen(kDecadeGrey, em / 12));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRectF(area.left() - 3.3 * em, y - em / 2, 3 * em, em),
                         Qt::AlignRight | Qt::AlignVCenter, DecadeText(decade));
    }
    painter.setPen(QPen(palette().color(QPalette::WindowText), em / 15));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
}

// Between the gaps a fair board's pool stays above in nineteen pools of
// twenty and below in nineteen of twenty, at every count of balls shown.
void GapChartView::paintBand(QPainter &painter, const Plot &plot, double em) const {
    QPolygonF high, low;
    for (int i = 0; i <= kBandSamples; ++i) {
        const double balls = plot.scales.balls.valueAt(static_cast<double>(i) / kBandSamples);
        const ChanceBand band = ChanceBandFor(balls);
        high << plot.at(balls, band.high);
        low << plot.at(balls, band.low);
    }
    QPolygonF band = high;
    std::copy(low.crbegin(), low.crend(), std::back_inserter(band));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBandGround);
    painter.drawPolygon(band);
    painter.setPen(QPen(kLatticeBlue, em / 12));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(high);
    painter.drawPolyline(low);
}

void GapChartView::paintPoints(QPainter &painter, const Plot &plot, double em) const {
    QPolygonF line;
    for (const GapPoint &point : gaps_) {
        line << plot.at(static_cast<double>(point.balls), point.gap);
    }
    painter.setPen(QPen(kBallRed, em / 8));
    painter.drawPolyline(line);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBallRed);
    for (const QPointF &dot : line) {
        painter.drawEllipse(dot, em / 4, em / 4);
    }
}

// At the plot's top right, where the points and the band rarely are.
void GapChartView::paintLegend(QPainter &painter, const Plot &plot, double em) const {
    const QRectF box(plot.area.right() - 11 * em, plot.area.top() + em / 2, 10.5 * em, 2.6 * em);
    painter.setPen(QPen(kDecadeGrey, em / 20));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    const double left = box.left() + em / 2, first = box.top() + 0.8 * em;
    painter.setPen(QPen(kBallRed, em / 8));
    painter.drawLine(QPointF(left, first), QPointF(left + 1.6 * em, first));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBallRed);
    painter.drawEllipse(QPointF(left + 0.8 * em, first), em / 4, em / 4);
    painter.setBrush(kBandGround);
    painter.drawRect(QRectF(left, first + 0.6 * em, 1.6 * em, 0.8 * em));
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF texts(left + 2.1 * em, box.top(), box.right() - left - 2.4 * em, 1.6 * em);
    FittedText(painter, texts, kChartClassLegend, 0.7 * em, false,
               Qt::AlignLeft | Qt::AlignVCenter);
    FittedText(painter, texts.translated(0, em), kChartBandLegend, 0.7 * em, false,
               Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace pokorin
