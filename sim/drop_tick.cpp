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

DropTick::DropTick(SimulationState &state, TickView &view, Clock &clock, RandomSource &random)
    : state_(state)
    , view_(view)
    , clock_(clock)
    , random_(random) {}

TickResult DropTick::tick() {
    view_.showBallAt(state_.BallX, state_.BallY);
    random_.reseed(clock_.secondsSinceMidnight());
    state_.StepDir = StepDirection(random_.next());
    if (state_.BallY < kLevelLimit) {
        step();
        return {TickOutcome::Stepped, 0};
    }
    return land();
}

void DropTick::step() {
    state_.BallX += state_.StepDir == 1 ? 1.0f : -1.0f;
    state_.BallY += 1.0f;
}

TickResult DropTick::land() {
    state_.DropCount = CheckedAdd(state_.DropCount, 1);
    view_.setDropCountCaption(std::to_string(state_.DropCount));
    const int bin = LandingBin(state_.BallX);
    const TickOutcome outcome = bin == 0 ? TickOutcome::Landed : fillBin(bin);
    state_.BallX = kStartX;
    state_.BallY = kStartY;
    return {outcome, bin};
}

TickOutcome DropTick::fillBin(int bin) {
    const bool fillsStack = state_.BinCount(bin) >= kStackCapacity - 1;
    state_.BinCount(bin) = CheckedAdd(state_.BinCount(bin), 1);
    view_.showSquare(bin, state_.BinCount(bin));
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
    view_.printRatios(state_.BinCount);
}

} // namespace pokorin
