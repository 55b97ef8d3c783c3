#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "surface/RasterSurface.h"

namespace qv::imagefile {

// The surface as a PNG file's bytes: a 1-bit palette for two colours, 8-bit grey for greys,
// else 8-bit RGB.
std::string EncodePng(const surface::RasterSurface& surface);
void WritePng(const surface::RasterSurface& surface, std::ostream& out);
// Replaces the file atomically (see WriteFileAtomically).
void WritePng(const surface::RasterSurface& surface, const std::filesystem::path& path);

// Any PNG, as 8-bit RGB: grey and palette images are expanded, 16-bit samples reduced and
// transparency composed onto white. Raises the failed call: platform failure for a file
// that cannot be read or decoded, out of memory for an image above the surface limit.
surface::RasterSurface ReadPng(const std::filesystem::path& path);

}  // namespace qv::imagefile
