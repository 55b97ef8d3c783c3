// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/RasterSurface.h>

namespace qv::imagefile {

// The surface as a PNG file's bytes: a 1-bit palette for two colours, 8-bit grey for greys,
// else 8-bit RGB.
QV_EXPORT std::string EncodePng(const surface::RasterSurface& surface);

// What a PNG may carry besides its colours.
struct QV_EXPORT PngDetails {
    // The resolution it is meant to print at, as the pHYs chunk; none when 0.
    double dotsPerInch = 0.0;
    // One opacity per pixel, row by row; empty (or all 255) for an opaque picture, which
    // is then packed as EncodePng(surface) packs it.
    std::vector<std::uint8_t> alpha;
};
QV_EXPORT std::string EncodePng(const surface::RasterSurface& surface, const PngDetails& details);
QV_EXPORT void WritePng(const surface::RasterSurface& surface, std::ostream& out);
// Replaces the file atomically (see WriteFileAtomically).
QV_EXPORT void WritePng(const surface::RasterSurface& surface, const std::filesystem::path& path);

// Any PNG, as 8-bit RGB: grey and palette images are expanded, 16-bit samples reduced and
// transparency composed onto white. Raises the failed call: platform failure for a file
// that cannot be read or decoded, out of memory for an image above the surface limit.
QV_EXPORT surface::RasterSurface ReadPng(const std::filesystem::path& path);

// A PNG's colours as stored, not composed onto white, and its opacities.
struct QV_EXPORT PngWithAlpha {
    surface::RasterSurface picture;
    std::vector<std::uint8_t> alpha;  // one per pixel, row by row; empty when all opaque
};
// Raises the failed call as ReadPng does.
QV_EXPORT PngWithAlpha ReadPngWithAlpha(const std::filesystem::path& path);

}  // namespace qv::imagefile
