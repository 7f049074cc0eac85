#pragma once

#include "bin_counts.h"

#include <cstdint>

namespace pokorin {

// Top-left corner of a new ball: 0.2 left of and 0.1 above the apex (20, 1).
constexpr float kStartX = 19.8f;
constexpr float kStartY = 0.9f;

// The experiment's variables, zero at creation like the window that owns them.
struct Experiment {
    float ballX = 0.0f;
    float ballY = 0.0f;
    int16_t stepDirection = 0; // 1 = right, 2 = left; 0 until the first draw
    BinCounts binCounts;
    int16_t dropCount = 0;
    int16_t quitAnswer = 0;
    int16_t squareIndex = 0;

    // Ball back to the start, all tallies zero; stepDirection, quitAnswer and
    // squareIndex are left alone and nothing on screen changes.
    void reset();
};

} // namespace pokorin
