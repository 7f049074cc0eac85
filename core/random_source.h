#pragma once

namespace pokorin {

// A generator that can be reseeded and yields values uniform on [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseed(float seed) = 0;
    /* 0 <= result < 1 */
    virtual float next() = 0;
};

} // namespace pokorin
