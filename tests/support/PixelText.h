// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <qvbarcode/surface/RasterSurface.h>

namespace qv::testing {

// Pixels as text: "#" black, "." white, "-" anything else.
inline char PixelChar(surface::Colour c) {
    return c == surface::kBlack ? '#' : c == surface::kWhite ? '.' : '-';
}

// Columns [from, to) of row y; to < 0 means the surface's width.
inline std::string RowText(const surface::RasterSurface& s, std::int32_t y, std::int32_t from = 0,
                           std::int32_t to = -1) {
    std::string row;
    for (std::int32_t x = from; x < (to < 0 ? s.width() : to); ++x)
        row += PixelChar(s.PixelAt(x, y));
    return row;
}

// Every row, separated by "/".
inline std::string PictureText(const surface::RasterSurface& s) {
    std::string picture;
    for (std::int32_t y = 0; y < s.height(); ++y) picture += (y ? "/" : "") + RowText(s, y);
    return picture;
}

}  // namespace qv::testing
