#pragma once

#include <cstdint>
#include <cstdlib>

namespace qv::surface {

// Visits the pixels of a pen line from (x0, y0) towards (x1, y1), the end point excluded,
// one step at a time in either direction. Surfaces share it so that a slanted line covers
// the same pixels on every medium.
template <typename Plot>
void ForEachLinePixel(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                      Plot&& plot) {
    const std::int64_t dx = std::llabs(x1 - x0);
    const std::int64_t dy = -std::llabs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    std::int64_t error = dx + dy;
    while (x0 != x1 || y0 != y1) {
        plot(x0, y0);
        const std::int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

}  // namespace qv::surface
