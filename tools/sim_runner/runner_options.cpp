#include "runner_options.h"

#include <charconv>

namespace pokorin {
namespace {

template <typename Number> std::optional<Number> ParseNumber(const std::string &text) {
    Number value{};
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<RunnerOptions> ParseRunnerOptions(const std::vector<std::string> &args) {
    RunnerOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--frozen-clock") {
            options.frozenClock = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg == "--runs" && hasValue) {
            const auto runs = ParseNumber<long>(args[++i]);
            if (!runs || *runs < 1) {
                return std::nullopt;
            }
            options.runs = *runs;
        } else if (arg == "--seed" && hasValue) {
            options.seed = ParseNumber<uint64_t>(args[++i]);
            if (!options.seed) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return options;
}

} // namespace pokorin
