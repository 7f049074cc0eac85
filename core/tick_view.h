#pragma once

#include "bin_counts.h"
#include "button_settings.h"

#include <string>

namespace pokorin {

// What the drop tick does to the window, one call per visible effect.
class TickView {
public:
    virtual ~TickView() = default;
    // Moves the ball's top-left corner to (x, y) in board units.
    virtual void showBallAt(float x, float y) = 0;
    virtual void setDropCountCaption(const std::string &caption) = 0;
    /* 1 <= bin <= kBinTotal, 1 <= square <= kStackCapacity */
    virtual void showSquare(int bin, int square) = 0;
    virtual void disableTimer() = 0;
    virtual void hideBall() = 0;
    virtual void setButtonEnabled(RunButton button, bool enabled) = 0;
    virtual void printRatios(const BinCounts &counts) = 0;

    // Applies one row of the button table, in its order.
    void setButtons(ButtonRow row) {
        for (const ButtonSetting &setting : row) {
            setButtonEnabled(setting.button, setting.enabled);
        }
    }
};

} // namespace pokorin
