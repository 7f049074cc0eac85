#include "number_strip.h"

#include "window/fonts.h"

namespace pokorin {
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
