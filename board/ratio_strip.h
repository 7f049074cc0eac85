#pragma once

#include "core/bin_counts.h"
#include "core/ratios.h"
#include "core/shown_texts.h"
#include "text_surface.h"

#include <cstdint>
#include <string>

namespace pokorin {

void PrintRatioHeading(TextSurface &strip);
void ResetRatioStrip(TextSurface &strip);
// The eleven experimental ratios under their bins. With no ball landed there
// is no ratio to show, and the strip keeps just its heading.
void PrintRatios(TextSurface &strip, const BinCounts &counts);

} // namespace pokorin
