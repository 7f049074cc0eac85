#pragma once

#include "sim/bin_counts.h"
#include "text_surface.h"

#include <cstdint>
#include <string>

namespace pokorin {

inline const std::string kRatioHeading = "実験結果からの割合";

// count / total as "0.000"; a ratio exactly halfway between two thousandths
// rounds up (1 of 16 gives "0.063").
/* 0 <= count <= total, total > 0 */
std::string FormatRatio(long count, long total);

void PrintRatioHeading(TextSurface &strip);
void ResetRatioStrip(TextSurface &strip);
// The eleven experimental ratios under their bins. With no ball landed there
// is no ratio to show, and the strip keeps just its heading.
void PrintRatios(TextSurface &strip, const BinCounts &counts);

} // namespace pokorin
