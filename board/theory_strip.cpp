#include "theory_strip.h"

#include "strip_layout.h"

namespace pokorin {

void PrintTheoryStrip(TextSurface &strip) {
    PrintAt(strip, kStripHeadingX, kStripTextY, kTheoryHeading);
    for (int k = 1; k <= kBinTotal; ++k) {
        PrintAt(strip, StripColumn(k), kStripTextY,
                kTheoryTexts.at(static_cast<std::size_t>(k - 1)));
    }
}

} // namespace pokorin
