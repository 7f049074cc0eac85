#pragma once

#include "core/shown_texts.h"
#include "text_surface.h"

#include <array>
#include <string>

namespace pokorin {

// The heading and the eleven theoretical probabilities under their bins.
void PrintTheoryStrip(TextSurface &strip);

} // namespace pokorin
