#pragma once

#include "twips.h"

#include <QRect>

namespace pokorin {

// A control's place in pixels from its design place in twips.
inline QRect TwipsRect(double left, double top, double width, double height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

} // namespace pokorin
