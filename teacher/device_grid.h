#pragma once

#include "pool/class_pool.h"

#include <QWidget>

namespace pokorin {

// Each device's runs at a glance: a box a device, in the order the devices
// joined, with its number and its balls in the pool, and its latest runs as
// small framed histograms side by side, each with its balls, the newest
// highlighted and its mean in steps to the right under them, one that ended
// at a full stack marked so; each run's mean and variance in its tooltip. As
// many boxes as stay readable on a projector share a page; beyond them the
// teacher turns pages. A click on a box asks to take that device out.
class DeviceGrid final : public QWidget {
    Q_OBJECT

public:
    // At most so many boxes a page: ten across and eight down.
    static constexpr int kMaxColumns = 10;
    static constexpr int kMaxRows = 8;

    explicit DeviceGrid(QWidget *parent);

    void showDevices(QList<DeviceRuns> devices);
    const QList<DeviceRuns> &devices() const { return devices_; }

    int pages() const;
    int page() const { return page_; }
    void turnPage(int by);
    // The boxes of the page shown, with the devices' places in devices().
    QList<std::pair<qsizetype, QRectF>> boxes() const;

signals:
    // The teacher clicked on the box of the device at this place.
    void deviceChosen(qsizetype place);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QRectF gridArea() const;
    void paintDevice(QPainter &painter, QRectF box, qsizetype place) const;
    void paintRun(QPainter &painter, QRectF area, const DeviceRuns::Run &run, bool newest) const;

    QList<DeviceRuns> devices_;
    int page_ = 0;
};

} // namespace pokorin
