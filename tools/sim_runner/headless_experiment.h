#pragma once

// sim_runner/: pokorin-sim, the experiment without a window, which prints its
// tallies (and, asked to, every ball's steps) to a terminal.

#include "core/drop_tick.h"

#include <ostream>

namespace pokorin {

// One experiment after another with no window and no timer: the real state
// and tick, ticked until a stack is full.
class HeadlessExperiment {
public:
    // With a trace stream, every landed ball writes its steps and its bin.
    HeadlessExperiment(Clock &clock, RandomSource &random, std::ostream *trace);

    // Runs one experiment from the start values; the experiment holds its tallies.
    const Experiment &run();

private:
    Experiment experiment_;
    DropTick tick_;
    std::ostream *trace_;
};

} // namespace pokorin
