#include "headless_experiment.h"

#include <string>

namespace pokorin {

HeadlessExperiment::HeadlessExperiment(Clock &clock, RandomSource &random, std::ostream *trace)
    : tick_(state_, view_, clock, random)
    , trace_(trace) {}

const Experiment &HeadlessExperiment::run() {
    state_.reset();
    std::string steps;
    for (;;) {
        const TickResult result = tick_.tick();
        if (result.outcome == TickOutcome::Stepped) {
            steps += state_.stepDirection == 1 ? 'R' : 'L';
            continue;
        }
        if (trace_ != nullptr) {
            *trace_ << steps << ' ' << result.bin << '\n';
        }
        steps.clear();
        if (result.outcome == TickOutcome::Finished) {
            return state_;
        }
    }
}

} // namespace pokorin
