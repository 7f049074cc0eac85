#pragma once

#include <array>
#include <cstdint>

namespace pokorin {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Rgb &) const = default;
};

// The classic 16-colour palette, by its index 0..15.
constexpr Rgb QBColor(int index) {
    constexpr std::array<Rgb, 16> palette{{
        {0, 0, 0},
        {0, 0, 128},
        {0, 128, 0},
        {0, 128, 128},
        {128, 0, 0},
        {128, 0, 128},
        {128, 128, 0},
        {192, 192, 192},
        {128, 128, 128},
        {0, 0, 255},
        {0, 255, 0},
        {0, 255, 255},
        {255, 0, 0},
        {255, 0, 255},
        {255, 255, 0},
        {255, 255, 255},
    }};
    return palette.at(static_cast<std::size_t>(index));
}

constexpr Rgb kLatticeColour = QBColor(9);
constexpr Rgb kBinColour = QBColor(0);
constexpr Rgb kBallColour{255, 0, 0};

} // namespace pokorin
