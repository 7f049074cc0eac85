#pragma once

namespace pokorin {

// Time of day as the tick reseeds from it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual float secondsSinceMidnight() = 0;
};

} // namespace pokorin
