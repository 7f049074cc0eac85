#pragma once

#include "clock.h"
#include "experiment.h"
#include "random_source.h"
#include "tick_view.h"

#include <cstdint>

namespace pokorin {

// The ball steps while it is above this level and lands when it reaches it.
// Single precision on purpose: ten additions of 1 to 0.9f give exactly 10.9f,
// while the double 10.9 would let the ball take an eleventh step.
constexpr float kLevelLimit = 10.9f;

enum class TickOutcome { Stepped, Landed, Finished };

struct TickResult {
    TickOutcome outcome;
    int bin; // the bin a landing ball fell into; 0 while it falls
};

// stepDirection for a draw r on [0, 1): 1 (right) below 0.5, 2 (left) from 0.5 on.
int16_t StepDirection(float r);

// The bin whose x range holds a landing ball's x, or 0 beyond the last bin.
int LandingBin(float ballX);

// One timer tick of the experiment: the ball moves one level or lands.
class DropTick {
public:
    DropTick(Experiment &state, TickView &view, Clock &clock, RandomSource &random);

    TickResult tick();

private:
    void step();
    TickResult land();
    TickOutcome fillBin(int bin);
    void endRun();

    Experiment &state_;
    TickView &view_;
    Clock &clock_;
    RandomSource &random_;
};

} // namespace pokorin
