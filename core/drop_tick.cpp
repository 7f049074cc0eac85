#include "drop_tick.h"

#include "button_settings.h"
#include "checked_add.h"

#include <string>

namespace pokorin {

int16_t StepDirection(float r) {
    // In double: 2r + 1 rounded to float would reach 3 for r just below 1.
    return static_cast<int16_t>(2.0 * static_cast<double>(r) + 1.0);
}

int LandingBin(float ballX) {
    for (int k = 1; k <= kBinTotal; ++k) {
        if (ballX < static_cast<float>(8 + 2 * k)) {
            return k;
        }
    }
    return 0;
}

DropTick::DropTick(Experiment &state, TickView &view, Clock &clock, RandomSource &random)
    : state_(state)
    , view_(view)
    , clock_(clock)
    , random_(random) {}

TickResult DropTick::tick() {
    view_.showBallAt(state_.ballX, state_.ballY);
    random_.reseed(clock_.secondsSinceMidnight());
    state_.stepDirection = StepDirection(random_.next());
    if (state_.ballY < kLevelLimit) {
        step();
        return {TickOutcome::Stepped, 0};
    }
    return land();
}

void DropTick::step() {
    state_.ballX += state_.stepDirection == 1 ? 1.0f : -1.0f;
    state_.ballY += 1.0f;
}

TickResult DropTick::land() {
    state_.dropCount = CheckedAdd(state_.dropCount, 1);
    view_.setDropCountCaption(std::to_string(state_.dropCount));
    const int bin = LandingBin(state_.ballX);
    const TickOutcome outcome = bin == 0 ? TickOutcome::Landed : fillBin(bin);
    state_.ballX = kStartX;
    state_.ballY = kStartY;
    return {outcome, bin};
}

TickOutcome DropTick::fillBin(int bin) {
    const bool fillsStack = state_.binCounts(bin) >= kStackCapacity - 1;
    state_.binCounts(bin) = CheckedAdd(state_.binCounts(bin), 1);
    view_.showSquare(bin, state_.binCounts(bin));
    if (!fillsStack) {
        return TickOutcome::Landed;
    }
    endRun();
    return TickOutcome::Finished;
}

void DropTick::endRun() {
    view_.disableTimer();
    view_.hideBall();
    view_.setButtons(kFullStackButtons);
    view_.printRatios(state_.binCounts);
}

} // namespace pokorin
