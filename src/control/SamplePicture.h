#pragma once

#include <memory>

#include "symbology/Font.h"
#include "symbology/RasterSurface.h"

namespace qv::control {

// What a new control shows before its first drawing: a 144 x 75 two-colour sample barcode
// with the caption "QVBARCODE".
std::shared_ptr<const symbology::RasterSurface> SamplePicture(
    const std::shared_ptr<const symbology::Font>& font);

}  // namespace qv::control
