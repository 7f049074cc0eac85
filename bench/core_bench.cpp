// Speed of the experiment's core: the drop tick and the headless runner.
// Prints one line per figure: name value unit.

#include "core/drop_tick.h"
#include "core/frozen_clock.h"
#include "core/local_clock.h"
#include "core/xoshiro_generator.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

using namespace pokorin;

namespace {

void TickWith(benchmark::State &run, Clock &clock) {
    XoshiroGenerator random;
    Experiment experiment;
    DropTick tick(experiment, clock, random);
    experiment.reset();
    for (auto _ : run) {
        if (tick.tick().kind == TickEvent::Kind::StackFilled) {
            experiment.reset();
        }
    }
}

void tick_real_clock(benchmark::State &run) {
    LocalClock clock;
    TickWith(run, clock);
}

void tick_frozen_clock(benchmark::State &run) {
    FrozenClock clock(43200.0f);
    TickWith(run, clock);
}

BENCHMARK(tick_real_clock);
BENCHMARK(tick_frozen_clock);

class LineReporter final : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context &) override { return true; }
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            std::cout << run.benchmark_name() << ' ' << run.GetAdjustedRealTime() << ' '
                      << benchmark::GetTimeUnitString(run.time_unit) << '\n';
        }
    }
};

// Whole experiments through the real runner binary, start-up included.
void SimBallsPerSecond() {
    constexpr int kRuns = 20000;
    const std::string command =
        std::string(POKORIN_SIM_PATH) + " --runs " + std::to_string(kRuns) + " --frozen-clock";
    const auto start = std::chrono::steady_clock::now();
    FILE *pipe = popen(command.c_str(), "r");
    long drops = 0;
    char line[512];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
        std::sscanf(line, "total: runs %*d drops %ld", &drops);
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "sim_balls_per_second " << drops / seconds << " balls/s\n";
}

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    LineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    SimBallsPerSecond();
    return 0;
}
