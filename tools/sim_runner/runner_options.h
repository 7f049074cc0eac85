#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>

namespace pokorin {

struct RunnerOptions {
    long runs = 1;
    std::optional<uint64_t> seed; // none: the entropy source seeds
    bool frozenClock = false;
    bool trace = false;
};

// The runner's options. When the command line ends the program instead,
// the help or the version has been printed (exit code 0) or one error line
// naming the option and its value (exit code 2), and the code is returned.
std::variant<RunnerOptions, int> ReadRunnerOptions(const QStringList &arguments);

} // namespace pokorin
