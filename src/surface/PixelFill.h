// SPDX-License-Identifier: MIT
#pragma once

// Filling runs of 24-bit pixels, shared by the raster surface's fills, columns and lines.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <qvbarcode/surface/DrawingSurface.h>

namespace qv::surface {

// Bytes of pixels of one colour: a memset when the colour is a grey, as captions' paper is.
inline void FillSpan(std::uint8_t* first, std::size_t bytes, const std::uint8_t (&rgb)[3]) {
    if (rgb[0] == rgb[1] && rgb[1] == rgb[2]) {
        std::memset(first, rgb[0], bytes);
        return;
    }
    for (std::size_t i = 0; i < bytes; i += 3) {
        std::memcpy(first + i, rgb, 3);
    }
}

// A bar of at least 8 bytes of one grey without a call: word stores, the last one
// overlapping the one before.
inline void FillGreyWords(std::uint8_t* first, std::size_t bytes, std::uint8_t grey) {
    const std::uint64_t word = grey * std::uint64_t{0x0101010101010101};
    for (std::size_t i = 0; i + 8 < bytes; i += 8) {
        std::memcpy(first + i, &word, 8);
    }
    std::memcpy(first + bytes - 8, &word, 8);
}

// Whole rows are one span: rows [top, bottom) of a surface are contiguous.
inline void FillWholeRows(std::uint8_t* pixels, std::size_t stride, std::int32_t top,
                          std::int32_t bottom, Colour colour) {
    if (top >= bottom) {
        return;
    }
    const std::uint8_t rgb[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    FillSpan(pixels + static_cast<std::size_t>(top) * stride,
             static_cast<std::size_t>(bottom - top) * stride, rgb);
}

}  // namespace qv::surface
