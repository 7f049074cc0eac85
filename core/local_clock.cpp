#include "local_clock.h"

#include <chrono>
#include <ctime>

namespace pokorin {

float LocalClock::secondsSinceMidnight() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t whole = system_clock::to_time_t(now);
    // Only the window's thread reads the clock, so the shared result is safe.
    const std::tm local = *std::localtime(&whole);
    const double fraction = duration<double>(now - system_clock::from_time_t(whole)).count();
    const int seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return static_cast<float>(seconds + fraction);
}

} // namespace pokorin
