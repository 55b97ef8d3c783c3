// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include <qvbarcode/surface/DrawingSurface.h>

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

// The pixels a horizontal or vertical pen line from (x0, y0) to (x1, y1) sets, the end
// point excluded, as one rectangle: a wide pen is a square centred on each pixel. Nothing
// for a slanted line or one without length.
inline std::optional<Rect> AxisLineRect(std::int64_t x0, std::int64_t y0, std::int64_t x1,
                                        std::int64_t y1, std::int32_t penWidth) {
    if ((x0 == x1) == (y0 == y1)) {
        return std::nullopt;
    }
    const bool vertical = x0 == x1;
    const std::int64_t from = vertical ? y0 : x0;
    const std::int64_t to = vertical ? y1 : x1;
    const std::int64_t first = from < to ? from : to + 1;
    const std::int64_t last = from < to ? to - 1 : from;
    const std::int64_t across = vertical ? x0 : y0;
    const std::int64_t size = std::max(penWidth, 1);
    const std::int64_t half = penWidth > 1 ? penWidth / 2 : 0;
    const auto clamp = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const std::int32_t acrossStart = clamp(across - half);
    const std::int32_t acrossEnd = clamp(across - half + size);
    const std::int32_t alongStart = clamp(first - half);
    const std::int32_t alongEnd = clamp(last - half + size);
    return vertical ? Rect{acrossStart, alongStart, acrossEnd, alongEnd}
                    : Rect{alongStart, acrossStart, alongEnd, acrossEnd};
}

}  // namespace qv::surface
