#pragma once

#include "bin_counts.h"
#include "board_point.h"

#include <cstdint>

namespace pokorin {

// Top-left corner of a new ball: 0.2 left of and 0.1 above the apex (20, 1).
constexpr BoardPoint kBallStart{19.8f, 0.9f};

// Which way the ball went at a level.
enum class Step : int16_t { None, Right, Left };

// The experiment's variables, zero at creation like the window that owns them.
struct Experiment {
    BoardPoint ball;            // the falling ball's top-left corner
    Step lastStep = Step::None; // drawn in the latest tick
    BinCounts bins;
    int16_t drops = 0; // balls landed since the last reset, the sum of the bins

    // Ball back to the start, all tallies zero; the last step stays as it was
    // drawn and nothing on screen changes.
    void reset();
    // A stack has reached its capacity: the run is over until a reset.
    bool hasFullStack() const;
};

} // namespace pokorin
