// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <qvbarcode/surface/Font.h>
#include <qvbarcode/surface/RasterSurface.h>

namespace qv::control {

// What a new control shows before its first drawing: a 144 x 75 two-colour sample barcode
// with the caption "QVBARCODE".
std::shared_ptr<const surface::RasterSurface> SamplePicture(
    const std::shared_ptr<const surface::Font>& font);

}  // namespace qv::control
