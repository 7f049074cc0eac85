#include "device_grid.h"

#include "class_look.h"
#include "core/shown_texts.h"
#include "pool/landing_statistics.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>
#include <numeric>

namespace pokorin {
namespace {

constexpr int kPerPage = DeviceGrid::kMaxColumns * DeviceGrid::kMaxRows;
// The latest runs a box shows side by side.
constexpr int kRunsShown = 4;
const QColor kOlderRunGrey(140, 140, 140);
const QColor kNewestRunGround(255, 244, 214);

// `count` boxes filling the area in columns and rows, as near 4 : 3 as the
// area lets them be, each inside a margin of its own.
QList<QRectF> GridBoxes(QRectF area, int count) {
    int best = 1;
    double bestSide = 0;
    for (int columns = 1; columns <= DeviceGrid::kMaxColumns; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const double side = std::min(area.width() / columns / 4, area.height() / rows / 3);
        if (rows <= DeviceGrid::kMaxRows && side > bestSide) {
            best = columns, bestSide = side;
        }
    }
    const int rows = std::max(1, (count + best - 1) / best);
    const double width = area.width() / best, height = area.height() / rows;
    const double margin = 0.04 * std::min(width, height);
    QList<QRectF> boxes;
    for (int i = 0; i < count; ++i) {
        boxes << QRectF(area.left() + (i % best) * width, area.top() + (i / best) * height, width,
                        height)
                     .adjusted(margin, margin, -margin, -margin);
    }
    return boxes;
}

int Balls(const RunCounts &counts) {
    return std::accumulate(counts.begin(), counts.end(), 0);
}

// Where a device's box puts its parts: its number and balls over its latest
// runs, side by side and the newest last, and the newest run's mean under them.
struct DeviceBoxParts {
    QRectF title;
    QList<QRectF> runs;
    QRectF newestMean;
};

DeviceBoxParts PartsOf(QRectF box, int runsShown) {
    const double line = 0.17 * box.height(), pad = 0.04 * box.width();
    const QRectF inside = box.adjusted(pad, 0, -pad, -pad);
    DeviceBoxParts parts{QRectF(inside.left(), inside.top(), inside.width(), line),
                         {},
                         QRectF(inside.left(), inside.bottom() - line, inside.width(), line)};
    const double slot = inside.width() / kRunsShown;
    for (int i = 0; i < runsShown; ++i) {
        parts.runs << QRectF(inside.right() - (runsShown - i) * slot, parts.title.bottom(), slot,
                             parts.newestMean.top() - parts.title.bottom())
                          .adjusted(0.06 * slot, 0, -0.06 * slot, 0);
    }
    return parts;
}

int RunsShown(const DeviceRuns &device) {
    return static_cast<int>(std::min<qsizetype>(kRunsShown, device.runs.size()));
}

QString RunTooltip(const DeviceRuns::Run &run, qsizetype number) {
    const std::optional<LandingStatistics> steps = StepStatistics(run.counted);
    return QString(kRunTooltip)
        .arg(number)
        .arg(Balls(run.counted))
        .arg(ThousandthsText(steps->mean), ThousandthsText(steps->variance),
             ThousandthsText(kTheoryStatistics.mean), ThousandthsText(kTheoryStatistics.variance));
}

} // namespace

DeviceGrid::DeviceGrid(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(kDevicesViewButton);
}

void DeviceGrid::showDevices(QList<DeviceRuns> devices) {
    devices_ = std::move(devices);
    page_ = std::min(page_, pages() - 1);
    update();
}

int DeviceGrid::pages() const {
    return std::max(1, static_cast<int>((devices_.size() + kPerPage - 1) / kPerPage));
}

void DeviceGrid::turnPage(int by) {
    page_ = std::clamp(page_ + by, 0, pages() - 1);
    update();
}

// Below a line that tells the pages apart, when there are more than one.
QRectF DeviceGrid::gridArea() const {
    const double pad = 0.01 * std::min(width(), height());
    const QRectF inside = QRectF(rect()).adjusted(pad, pad, -pad, -pad);
    return pages() > 1 ? inside.adjusted(0, 0.05 * inside.height(), 0, 0) : inside;
}

QList<std::pair<qsizetype, QRectF>> DeviceGrid::boxes() const {
    const qsizetype first = static_cast<qsizetype>(page_) * kPerPage;
    const int count = static_cast<int>(std::min<qsizetype>(kPerPage, devices_.size() - first));
    QList<std::pair<qsizetype, QRectF>> boxes;
    const QList<QRectF> places = GridBoxes(gridArea(), std::max(count, 1));
    for (int i = 0; i < count; ++i) {
        boxes << std::pair(first + i, places.at(i));
    }
    return boxes;
}

void DeviceGrid::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF area = gridArea();
    if (devices_.isEmpty()) {
        FittedText(painter, area, kNoDevicesYet, area.height() / 12, true, Qt::AlignCenter);
        return;
    }
    if (pages() > 1) {
        FittedText(painter, QRectF(area.left(), rect().top(), area.width(), area.top()),
                   QString(kGridPageCaption).arg(page_ + 1).arg(pages()).arg(devices_.size()),
                   0.7 * area.top(), false, Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (const auto &[place, box] : boxes()) {
        paintDevice(painter, box, place);
    }
}

// The device's number and balls over its latest runs, the newest last and
// its mean under them.
void DeviceGrid::paintDevice(QPainter &painter, QRectF box, qsizetype place) const {
    const DeviceRuns &device = devices_.at(place);
    painter.fillRect(box, Qt::white);
    painter.setPen(QPen(kOlderRunGrey, 1));
    painter.drawRect(box);
    const int shown = RunsShown(device);
    const DeviceBoxParts parts = PartsOf(box, shown);
    painter.setPen(Qt::black);
    FittedText(painter, parts.title.adjusted(0, 0, -parts.title.width() / 4, 0),
               QString(kDeviceCaption).arg(place + 1).arg(device.balls), 0.8 * parts.title.height(),
               true, Qt::AlignLeft | Qt::AlignVCenter);
    FittedText(painter, parts.title.adjusted(3 * parts.title.width() / 4, 0, 0, 0),
               QString(kRunsCaption).arg(device.runs.size()), 0.7 * parts.title.height(), false,
               Qt::AlignRight | Qt::AlignVCenter);
    for (int i = 0; i < shown; ++i) {
        paintRun(painter, parts.runs.at(i), device.runs.at(device.runs.size() - shown + i),
                 i == shown - 1);
    }
    const std::optional<LandingStatistics> newest = StepStatistics(device.runs.last().counted);
    painter.setPen(Qt::black);
    FittedText(painter, parts.newestMean,
               QString(kNewestMeanCaption).arg(ThousandthsText(newest->mean)),
               0.7 * parts.newestMean.height(), false, Qt::AlignRight | Qt::AlignVCenter);
}

// A run's bars over its balls, in a frame of its own.
void DeviceGrid::paintRun(QPainter &painter, QRectF area, const DeviceRuns::Run &run,
                          bool newest) const {
    const double label = 0.28 * area.height(), bars = area.height() - label;
    if (newest) {
        painter.fillRect(area, kNewestRunGround);
    }
    const double bin = area.width() / kBinTotal;
    for (int k = 0; k < kBinTotal; ++k) {
        const double tall = bars * run.counted.at(k) / kStackCapacity;
        painter.fillRect(
            QRectF(area.left() + (k + 0.1) * bin, area.top() + bars - tall, 0.8 * bin, tall),
            newest ? kBallRed : kOlderRunGrey);
    }
    painter.setPen(Qt::black);
    const QString balls = QString::number(Balls(run.counted)) +
                          (run.ended ? QStringLiteral(" ") + kRunEnded : QString());
    FittedText(painter, QRectF(area.left(), area.top() + bars, area.width(), label), balls,
               0.8 * label, newest, Qt::AlignHCenter | Qt::AlignVCenter);
    painter.setPen(QPen(kRunFrameBlue, 1));
    painter.drawRect(area);
}

// Each run's mean and variance, for the run under the pointer.
bool DeviceGrid::event(QEvent *event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    const auto *help = static_cast<QHelpEvent *>(event);
    for (const auto &[place, box] : boxes()) {
        const DeviceRuns &device = devices_.at(place);
        const int shown = RunsShown(device);
        const QList<QRectF> runs = PartsOf(box, shown).runs;
        for (int i = 0; i < shown; ++i) {
            if (runs.at(i).contains(help->pos())) {
                const qsizetype number = device.runs.size() - shown + i;
                QToolTip::showText(help->globalPos(),
                                   RunTooltip(device.runs.at(number), number + 1), this);
                return true;
            }
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void DeviceGrid::mouseReleaseEvent(QMouseEvent *event) {
    for (const auto &[place, box] : boxes()) {
        if (box.contains(event->position())) {
            emit deviceChosen(place);
            return;
        }
    }
}

void DeviceGrid::wheelEvent(QWheelEvent *event) {
    if (const int turned = event->angleDelta().y(); turned != 0) {
        turnPage(turned < 0 ? 1 : -1);
    }
}

} // namespace pokorin
