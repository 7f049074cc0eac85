#pragma once

#include "core/board_point.h"
#include "rgb.h"

namespace pokorin {

// A surface that draws plain straight lines in its own user coordinates.
class LineSurface {
public:
    virtual ~LineSurface() = default;
    virtual void line(BoardPoint from, BoardPoint to, Rgb colour) = 0;
};

} // namespace pokorin
