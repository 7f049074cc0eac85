#pragma once

#include <QRect>
#include <cmath>

namespace pokorin {

// Layout is designed in twips, 1/1440 inch: 15 to a logical pixel at 96 dpi.
// Controls sit on whole pixels, through the two functions below; drawing in
// a surface keeps the fractions.
constexpr double kTwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

// A control's place in pixels from its design place in twips.
inline QRect TwipsRect(double left, double top, double width, double height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

} // namespace pokorin
