#pragma once

#include "core/bin_counts.h"
#include "drawing_surface.h"

#include <array>
#include <string>

namespace pokorin {

// A strip of numbers under the board: a heading at its left end and, when
// there are numbers to show, the number of each bin under that bin's left
// wall, so that the theory and the experiment stand one above the other.
class NumberStrip final : public DrawingSurface {
public:
    NumberStrip(QRect place, QWidget *parent);

    using Numbers = std::array<std::string, kBinTotal>;
    void showNumbers(const QString &heading, const Numbers *numbers);
};

} // namespace pokorin
