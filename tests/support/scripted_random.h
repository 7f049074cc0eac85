#pragma once

#include "core/random_source.h"

#include <QList>

namespace pokorin::test {

// Plays back a list of draws in a loop and remembers every reseed.
class ScriptedRandom final : public RandomSource {
public:
    static constexpr float kRight = 0.25f;
    static constexpr float kLeft = 0.75f;

    explicit ScriptedRandom(QList<float> draws)
        : draws_(std::move(draws)) {}

    QList<float> reseeds;

    void reseed(float seed) override { reseeds << seed; }
    float next() override { return draws_.at(drawsMade_++ % draws_.size()); }

private:
    QList<float> draws_;
    qsizetype drawsMade_ = 0;
};

} // namespace pokorin::test
