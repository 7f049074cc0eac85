#pragma once

#include "clock.h"

namespace pokorin {

// A clock that never moves: the worst case for a tick that reseeds from it.
class FrozenClock final : public Clock {
public:
    explicit FrozenClock(float reading = 0.0f)
        : reading_(reading) {}
    float secondsSinceMidnight() override { return reading_; }

private:
    float reading_;
};

} // namespace pokorin
