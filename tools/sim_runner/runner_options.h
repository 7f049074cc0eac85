#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pokorin {

struct RunnerOptions {
    long runs = 1;
    std::optional<uint64_t> seed; // none: the entropy source seeds
    bool frozenClock = false;
    bool trace = false;
    bool help = false;
};

// The command line's options, or nothing when one of them is not understood.
std::optional<RunnerOptions> ParseRunnerOptions(const std::vector<std::string> &args);

inline const char *const kRunnerUsage =
    "usage: pokorin-sim [--runs N] [--seed S] [--frozen-clock] [--trace]";

} // namespace pokorin
