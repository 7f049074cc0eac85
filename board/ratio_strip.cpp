#include "ratio_strip.h"

#include "strip_layout.h"

namespace pokorin {

void PrintRatioHeading(TextSurface &strip) {
    PrintAt(strip, kStripHeadingX, kStripTextY, kRatioHeading);
}

void ResetRatioStrip(TextSurface &strip) {
    strip.clear();
    PrintRatioHeading(strip);
}

void PrintRatios(TextSurface &strip, const BinCounts &counts) {
    if (const auto texts = RatioTexts(counts)) {
        for (int k = 1; k <= kBinTotal; ++k) {
            PrintAt(strip, StripColumn(k), kStripTextY, texts->at(k - 1));
        }
    }
}

} // namespace pokorin
