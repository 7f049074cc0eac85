#pragma once

#include "sim/tick_view.h"

#include <QStringList>

namespace pokorin::test {

// Writes every effect of the tick down as one readable line, in order.
class RecordingTickView final : public TickView {
public:
    QStringList effects;

    void showBallAt(float x, float y) override {
        effects << QStringLiteral("ball at %1 %2").arg(x).arg(y);
    }
    void setDropCountCaption(const std::string &caption) override {
        effects << QStringLiteral("caption ") + QString::fromStdString(caption);
    }
    void showSquare(int bin, int square) override {
        effects << QStringLiteral("square %1 of bin %2").arg(square).arg(bin);
    }
    void disableTimer() override { effects << QStringLiteral("timer off"); }
    void hideBall() override { effects << QStringLiteral("ball hidden"); }
    void setButtonEnabled(RunButton button, bool enabled) override {
        static const char *const names[] = {"start", "stop", "quit", "initialise", "help"};
        effects << QStringLiteral("%1 %2").arg(QLatin1String(names[static_cast<int>(button)]),
                                               enabled ? QStringLiteral("on")
                                                       : QStringLiteral("off"));
    }
    void printRatios(const BinCounts &counts) override {
        effects << QStringLiteral("ratios of %1").arg(counts.sum());
    }
};

} // namespace pokorin::test
