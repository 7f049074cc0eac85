#include "text_surface.h"

namespace pokorin {

void PrintAt(TextSurface &surface, float x, float y, const std::string &text) {
    surface.setCurrentX(x);
    surface.setCurrentY(y);
    surface.print(text);
}

} // namespace pokorin
