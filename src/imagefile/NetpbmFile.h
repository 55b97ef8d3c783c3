// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/RasterSurface.h>

namespace qv::imagefile {

// Binary Netpbm pictures. PBM (P4) marks a pixel black when its grey level is below half,
// PGM (P5) keeps the 8-bit grey level; grey is the Rec. 601 luma of the pixel.
QV_EXPORT std::string EncodePbm(const surface::RasterSurface& surface);
QV_EXPORT std::string EncodePgm(const surface::RasterSurface& surface);

}  // namespace qv::imagefile
