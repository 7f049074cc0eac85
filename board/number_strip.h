#pragma once

#include "drawing_surface.h"

namespace pokorin {

// Each number must fit within two units with a gap before the next, and the
// heading must end before the first column; at 9 pt the Japanese gothic's
// wide digits would run "0.246" into the next number.
constexpr double kStripPointSize = 7.5;

// A strip of numbers under the board: a heading at its left end and, when
// there are numbers to show, the number of each bin under that bin's left
// wall, so that the theory and the experiment stand one above the other.
class NumberStrip final : public DrawingSurface {
public:
    NumberStrip(QRect place, QWidget *parent);

    // The heading, and the eleven numbers in bin order unless there are none.
    void showNumbers(const QString &heading, const QStringList &numbers);
};

} // namespace pokorin
