#include "headless_experiment.h"

#include <string>

namespace pokorin {

HeadlessExperiment::HeadlessExperiment(Clock &clock, RandomSource &random, std::ostream *trace)
    : tick_(experiment_, clock, random)
    , trace_(trace) {}

const Experiment &HeadlessExperiment::run() {
    experiment_.reset();
    std::string steps;
    for (;;) {
        const TickEvent event = tick_.tick();
        if (event.kind == TickEvent::Kind::Stepped) {
            steps += experiment_.lastStep == Step::Right ? 'R' : 'L';
            continue;
        }
        if (trace_ != nullptr) {
            *trace_ << steps << ' ' << event.bin << '\n';
        }
        steps.clear();
        if (event.kind == TickEvent::Kind::StackFilled) {
            return experiment_;
        }
    }
}

} // namespace pokorin
