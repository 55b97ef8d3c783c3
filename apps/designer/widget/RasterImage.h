#pragma once

#include <QImage>

#include "symbology/RasterSurface.h"

namespace qv::designer {

// A deep copy of the surface's pixels as a Qt image in the same RGB layout.
QImage ToQImage(const symbology::RasterSurface& surface);

}  // namespace qv::designer
