#pragma once

// teacher/: the teacher's class window on the projector, and the session that
// hosts the class behind it.

#include "pool/class_pool.h"

#include <QImage>
#include <QWidget>

namespace pokorin {

// What the class window shows, all of it drawn from the pool's state.
struct ClassShow {
    QStringList joinAddresses; // the one to show large first; none while no page can be served
    bool nobodyJoined = false; // for minutes since the start
    int devices = 0;
    PooledCounts counts{};
    int refused = 0; // messages not taken, shown when there are any
    QString problem; // why the class cannot be reached, in place of the hint
};

// The pooled experiment, large enough to read from the back of a room at any
// size and scale: how to join (the address, and as a QR code, with this
// computer's other addresses small beneath; after minutes without a device,
// what usually keeps them out), how many
// devices are connected and how many balls the class has landed, eleven bars
// scaled to the tallest with each bin's expectation N C(10, k - 1) / 1024
// drawn over them and its count under it, the landings' mean and variance
// beside the theory's, and the two strips of the main window, the theory and
// the pooled ratios, under the bins.
class PoolView final : public QWidget {
public:
    explicit PoolView(QWidget *parent);

    void show(const ClassShow &shown);
    const ClassShow &shown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintJoining(QPainter &painter, QRectF area) const;
    void paintBars(QPainter &painter, QRectF area, double binsLeft) const;
    void paintSteps(QPainter &painter, QRectF area) const;
    void paintStrips(QPainter &painter, QRectF area, double binsLeft) const;

    ClassShow shown_;
    QImage qrCode_;
};

} // namespace pokorin
