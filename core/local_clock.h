#pragma once

#include "clock.h"

namespace pokorin {

// Local wall-clock time of day, with its fractional seconds.
class LocalClock final : public Clock {
public:
    float secondsSinceMidnight() override;
};

} // namespace pokorin
