#pragma once

#include <array>
#include <cstdint>

namespace pokorin {

constexpr int kBinTotal = 11;
constexpr int kStackCapacity = 20;

// The eleven bin tallies, addressed 1..11 like the bins and stacks on screen.
class BinCounts {
public:
    /* 1 <= k <= kBinTotal */
    int16_t &operator()(int k) { return counts_.at(static_cast<std::size_t>(k - 1)); }
    int16_t operator()(int k) const { return counts_.at(static_cast<std::size_t>(k - 1)); }

    auto begin() const { return counts_.begin(); }
    auto end() const { return counts_.end(); }
    void clear() { counts_.fill(0); }
    // Overflow-checked sum in bin order.
    int16_t sum() const;

    bool operator==(const BinCounts &) const = default;

private:
    std::array<int16_t, kBinTotal> counts_{};
};

} // namespace pokorin
