#include "ratio_strip.h"

#include "strip_layout.h"

namespace pokorin {

std::string FormatRatio(long count, long total) {
    // Integer rounding is exact, so halfway cases such as 3 of 80 round up
    // just like 1 of 16, which a binary double could not promise.
    const long thousandths = (2000 * count + total) / (2 * total);
    const std::string fraction = std::to_string(thousandths % 1000);
    return std::to_string(thousandths / 1000) + '.' + std::string(3 - fraction.size(), '0') +
           fraction;
}

void PrintRatioHeading(TextSurface &strip) {
    PrintAt(strip, kStripHeadingX, kStripTextY, kRatioHeading);
}

void ResetRatioStrip(TextSurface &strip) {
    strip.clear();
    PrintRatioHeading(strip);
}

void PrintRatios(TextSurface &strip, const BinCounts &counts) {
    const int16_t total = counts.sum();
    if (total == 0) {
        return;
    }
    for (int k = 1; k <= kBinTotal; ++k) {
        PrintAt(strip, StripColumn(k), kStripTextY, FormatRatio(counts(k), total));
    }
}

} // namespace pokorin
