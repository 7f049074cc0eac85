#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace pokorin {

// What the class window's views share, so that they read as one on a
// projector: the board's red and blue, and the design face at sizes that
// follow the window's.
inline const QColor kBallRed(255, 0, 0);
inline const QColor kLatticeBlue(0, 0, 255);
// The frame of each run in the grid of devices, in a blue that no text's
// edge takes, so that each frame can be found in a picture of the grid.
inline const QColor kRunFrameBlue(150, 170, 220);

// The design face at a height in pixels.
QFont Face(double pixels, bool bold = false);

// A mean, a variance or a gap in the program's "0.000" form.
QString ThousandthsText(double value);

// The text in the area, aligned as asked, in the largest of the face's sizes
// up to `pixels` that fits the area's width.
void FittedText(QPainter &painter, QRectF area, const QString &text, double pixels, bool bold,
                Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

} // namespace pokorin
