#pragma once

#include <string>

namespace pokorin {

// A surface that prints text with its top-left corner at a current position
// given in the surface's own user coordinates.
class TextSurface {
public:
    virtual ~TextSurface() = default;
    // Erases everything printed so far to the surface's background.
    virtual void clear() = 0;
    virtual void setCurrentX(float x) = 0;
    virtual void setCurrentY(float y) = 0;
    /* text is UTF-8 */
    virtual void print(const std::string &text) = 0;
};

// Sets both coordinates, as every print here does first, then prints.
void PrintAt(TextSurface &surface, float x, float y, const std::string &text);

} // namespace pokorin
