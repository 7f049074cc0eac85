#pragma once

#include "random_source.h"

#include <array>
#include <cstdint>

namespace pokorin {

// xoshiro256** (Blackman and Vigna). Reseeding mixes the seed into the state
// instead of restarting the sequence, so a clock that gives the same reading
// in every tick still yields fresh, independent draws.
class XoshiroGenerator final : public RandomSource {
public:
    // Seeded from the system's entropy source.
    XoshiroGenerator();
    // Seeded from a fixed value, for reproducible runs.
    explicit XoshiroGenerator(uint64_t seed);

    void reseed(float seed) override;
    float next() override;
    uint64_t nextBits();

private:
    std::array<uint64_t, 4> state_{};
};

} // namespace pokorin
