#include "number_strip.h"

#include "window/fonts.h"

namespace pokorin {
namespace {

// Each number must fit within two units with a gap before the next, and the
// heading must end before the first column; at 9 pt the Japanese gothic's
// wide digits would run "0.246" into the next number.
constexpr double kStripPointSize = 7.5;

} // namespace

NumberStrip::NumberStrip(QRect place, QWidget *parent)
    : DrawingSurface(place.size(), SurfaceFrame::Sunken, kStripScale, parent) {
    move(place.topLeft());
    setTextFont(DesignFont(kStripPointSize, false));
}

void NumberStrip::showNumbers(const QString &heading, const QStringList &numbers) {
    clear();
    print({kStripHeadingX, kStripTextY}, heading);
    for (int k = 1; k <= numbers.size(); ++k) {
        print({BinLeftWall(k), kStripTextY}, numbers.at(k - 1));
    }
}

} // namespace pokorin
