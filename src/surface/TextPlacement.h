// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/DrawingSurface.h>

namespace qv::surface {

// Halves towards minus infinity, as a device context centres an odd leftover.
constexpr std::int64_t FloorHalf(std::int64_t value) {
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

// Where DrawText puts a text block of width x height in rect: left or centred; top or at
// the bottom. Every surface places text the same way.
struct QV_EXPORT TextOrigin {
    std::int64_t left = 0;
    std::int64_t top = 0;
};

constexpr std::int64_t TextLeft(std::int64_t width, const Rect& rect, unsigned format) {
    if (format & kCentre)
        return rect.left + FloorHalf(std::int64_t{rect.right} - rect.left - width);
    return rect.left;
}

constexpr std::int64_t TextTop(std::int64_t height, const Rect& rect, unsigned format) {
    if (format & kBottom) return std::int64_t{rect.bottom} - height;
    return rect.top;
}

constexpr TextOrigin PlaceText(std::int64_t width, std::int64_t height, const Rect& rect,
                               unsigned format) {
    return {TextLeft(width, rect, format), TextTop(height, rect, format)};
}

}  // namespace qv::surface
