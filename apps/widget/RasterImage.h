#pragma once

#include <QImage>

#include "surface/RasterSurface.h"

namespace qv::widget {

// A deep copy of the surface's pixels as a Qt image in the same RGB layout.
QImage ToQImage(const surface::RasterSurface& surface);

}  // namespace qv::widget
