#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "symbology/RasterSurface.h"

namespace qv::symbology {

// Binary Netpbm pictures. PBM (P4) marks a pixel black when its grey level is below half,
// PGM (P5) keeps the 8-bit grey level; grey is the Rec. 601 luma of the pixel.
std::string EncodePbm(const RasterSurface& surface);
std::string EncodePgm(const RasterSurface& surface);
void WritePbm(const RasterSurface& surface, const std::filesystem::path& path);
void WritePgm(const RasterSurface& surface, const std::filesystem::path& path);

}  // namespace qv::symbology
