#pragma once

// core/: the classroom experiment without a window. The window owns an
// Experiment and a DropTick, ticks it from its timer and shows the TickEvent
// that comes back; pokorin-sim ticks the same core with no window at all.

#include "clock.h"
#include "experiment.h"
#include "random_source.h"

namespace pokorin {

// The ball steps while it is above this level and lands when it reaches it.
// Single precision on purpose: ten additions of 1 to 0.9f give exactly 10.9f,
// while the double 10.9 would let the ball take an eleventh step.
constexpr float kLevelLimit = 10.9f;

// What one tick did, for the window to show: the ball shown where it stood,
// then either a step taken or a ball landed as square `square` of bin `bin`.
// A landing that fills a stack ends the run.
struct TickEvent {
    enum class Kind { Stepped, Landed, StackFilled };
    Kind kind = Kind::Stepped;
    BoardPoint ballShownAt;
    int bin = 0; // 1..11; 0 while the ball falls, and for an x beyond the last bin
    int square = 0;
};

// The step for a draw r on [0, 1): right below 0.5, left from 0.5 on.
Step StepFor(float r);

// The bin whose x range holds a landing ball's x, or 0 beyond the last bin.
int LandingBin(float ballX);

// One timer tick of the experiment: the ball moves one level or lands.
class DropTick {
public:
    DropTick(Experiment &experiment, Clock &clock, RandomSource &random);

    TickEvent tick();

private:
    TickEvent land(BoardPoint shownAt);

    Experiment &experiment_;
    Clock &clock_;
    RandomSource &random_;
};

} // namespace pokorin
