#pragma once

#include "sim/random_source.h"

#include <QList>

namespace pokorin::test {

// Plays back a list of draws in a loop and remembers every reseed.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(QList<float> draws)
        : draws_(std::move(draws)) {}

    QList<float> reseeds;
    int drawsMade = 0;

    void reseed(float seed) override { reseeds << seed; }
    float next() override { return draws_.at(drawsMade++ % draws_.size()); }

    // Draws that send the ball right and left.
    static constexpr float kRight = 0.25f;
    static constexpr float kLeft = 0.75f;

private:
    QList<float> draws_;
};

} // namespace pokorin::test
