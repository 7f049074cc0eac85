#include "drop_tick.h"

#include "checked_add.h"

namespace pokorin {

Step StepFor(float r) {
    // In double: 2r + 1 rounded to float would reach 3 for r just below 1.
    return static_cast<int>(2.0 * static_cast<double>(r) + 1.0) == 1 ? Step::Right : Step::Left;
}

int LandingBin(float ballX) {
    for (int k = 1; k <= kBinTotal; ++k) {
        if (ballX < static_cast<float>(8 + 2 * k)) {
            return k;
        }
    }
    return 0;
}

DropTick::DropTick(Experiment &experiment, Clock &clock, RandomSource &random)
    : experiment_(experiment)
    , clock_(clock)
    , random_(random) {}

TickEvent DropTick::tick() {
    const BoardPoint shownAt = experiment_.ball;
    random_.reseed(clock_.secondsSinceMidnight());
    experiment_.lastStep = StepFor(random_.next());
    if (experiment_.ball.y < kLevelLimit) {
        experiment_.ball.x += experiment_.lastStep == Step::Right ? 1.0f : -1.0f;
        experiment_.ball.y += 1.0f;
        return {TickEvent::Kind::Stepped, shownAt};
    }
    return land(shownAt);
}

TickEvent DropTick::land(BoardPoint shownAt) {
    TickEvent event{TickEvent::Kind::Landed, shownAt, LandingBin(experiment_.ball.x)};
    experiment_.drops = CheckedAdd(experiment_.drops, 1);
    if (event.bin != 0) {
        int16_t &count = experiment_.bins(event.bin);
        if (count >= kStackCapacity - 1) {
            event.kind = TickEvent::Kind::StackFilled;
        }
        count = CheckedAdd(count, 1);
        event.square = count;
    }
    experiment_.ball = kBallStart;
    return event;
}

} // namespace pokorin
