#pragma once

#include "board/board_view.h"
#include "board/number_strip.h"

#include <QImage>
#include <QTest>
#include <optional>

namespace pokorin::test {

// What the board and a strip under it show, read from their pixels alone,
// in the board's units: inside a surface's 2-pixel frame the board is 40
// units across and 20 down, and the strips share its x-unit. A square is
// 135 twips, and a stack's squares stand 120 twips apart.
class BoardPixels {
public:
    explicit BoardPixels(QWidget &surface)
        : image_(surface.grab().toImage())
        , ratio_(image_.devicePixelRatio())
        , unit_((surface.width() - 4) / 40.0, (surface.height() - 4) / 20.0) {}

    // The squares of the bin's stack: a red column between the bin's walls,
    // standing on its floor, 120 twips a square; -1 for red that is not.
    int stackHeight(int bin) const {
        // A full stack rises above its walls, up to the lattice's foot.
        const int floor = device(0, 19.5).y(), foot = device(0, 11).y(),
                  walls = device(0, 11.5).y();
        const int left = device(7.6 + 2 * bin, 0).x() + 1, right = device(8.9 + 2 * bin, 0).x();
        const int standing = floor - 3 * ratio_;
        int x = left;
        while (x < right && !red(x, standing)) {
            ++x;
        }
        if (x == right) {
            return redBetween(left, right, walls, floor) == 0 ? 0 : -1;
        }
        int top = standing, bottom = standing;
        while (top > foot && red(x, top - 1)) {
            --top;
        }
        while (red(x, bottom)) {
            ++bottom;
        }
        const double squares = 1 + ((bottom - top) / ratio_ - 135 / 15.0) / (120 / 15.0);
        const bool whole = std::abs(squares - std::round(squares)) < 0.01;
        return whole && redBetween(left, right, walls, top) == 0
                   ? static_cast<int>(std::round(squares))
                   : -1;
    }

    // Each bin's stack, in bin order.
    QList<int> stacks() const {
        QList<int> heights;
        for (int k = 1; k <= kBinTotal; ++k) {
            heights << stackHeight(k);
        }
        return heights;
    }

    // The top-left corner of the ball, the one red square above the bins.
    std::optional<QPointF> ball() const {
        for (int y = 0; y < device(0, 11).y(); ++y) {
            for (int x = 0; x < image_.width(); ++x) {
                if (red(x, y)) {
                    return units(x, y);
                }
            }
        }
        return std::nullopt;
    }

    // Whether two points in units are within a pixel of each other.
    bool near(QPointF a, BoardPoint b) const {
        return std::abs(a.x() - b.x) * unit_.x() <= 1 && std::abs(a.y() - b.y) * unit_.y() <= 1;
    }

    // Whether the colour is within one pixel of a point in units.
    bool showsNear(QPointF at, QColor colour) const {
        const QPoint centre = device(at.x(), at.y());
        for (int dy = -ratio_; dy <= ratio_; ++dy) {
            for (int dx = -ratio_; dx <= ratio_; ++dx) {
                if (image_.pixelColor(centre + QPoint(dx, dy)) == colour) {
                    return true;
                }
            }
        }
        return false;
    }

    // The x extent, in units, of the dark text between two x positions.
    std::optional<std::pair<double, double>> ink(double from, double to) const {
        std::optional<std::pair<double, double>> found;
        for (int x = device(from, 0).x(); x < device(to, 0).x(); ++x) {
            for (int y = 2 * ratio_; y < image_.height() - 2 * ratio_; ++y) {
                if (qGray(image_.pixel(x, y)) < 128) {
                    found = {found ? found->first : units(x, 0).x(), units(x + 1, 0).x()};
                    break;
                }
            }
        }
        return found;
    }

private:
    QPoint device(double x, double y) const {
        return QPointF((2 + x * unit_.x()) * ratio_, (2 + y * unit_.y()) * ratio_).toPoint();
    }
    QPointF units(int x, int y) const {
        return {(x / ratio_ - 2) / unit_.x(), (y / ratio_ - 2) / unit_.y()};
    }
    bool red(int x, int y) const { return image_.pixelColor(x, y) == QColor(255, 0, 0); }
    int redBetween(int left, int right, int top, int bottom) const {
        int found = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                found += red(x, y) ? 1 : 0;
            }
        }
        return found;
    }
    QImage image_;
    qreal ratio_;
    QPointF unit_;
};

} // namespace pokorin::test
