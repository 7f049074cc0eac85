#pragma once

#include <cstdlib>

// A property every input must keep: libFuzzer reports the input that breaks
// it, as it does a crash.
inline void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}
