#pragma once

#include <cstdint>
#include <stdexcept>

namespace pokorin {

// Counters are 16-bit like the original program's; leaving the range is a
// programming error that must stop the program rather than wrap silently.
inline int16_t CheckedAdd(int16_t a, int16_t b) {
    int16_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        throw std::overflow_error("16-bit counter overflow");
    }
    return sum;
}

} // namespace pokorin
