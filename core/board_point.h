#pragma once

namespace pokorin {

// A point in a surface's own user coordinates (board or strip units).
struct BoardPoint {
    float x = 0.0f;
    float y = 0.0f;
    bool operator==(const BoardPoint &) const = default;
};

} // namespace pokorin
