#pragma once

#include "tick_view.h"

namespace pokorin {

// A view with no screen: the experiment runs, nothing is shown.
class NullTickView final : public TickView {
public:
    void showBallAt(float, float) override {}
    void setDropCountCaption(const std::string &) override {}
    void showSquare(int, int) override {}
    void disableTimer() override {}
    void hideBall() override {}
    void setButtonEnabled(RunButton, bool) override {}
    void printRatios(const BinCounts &) override {}
};

} // namespace pokorin
