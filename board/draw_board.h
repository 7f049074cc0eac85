#pragma once

#include "line_surface.h"

namespace pokorin {

// The static picture of the board: the ten-level lattice (each slanted line
// drawn three times, 0.05 units apart, to give it width) and the eleven bins.
void DrawBoard(LineSurface &board);

} // namespace pokorin
