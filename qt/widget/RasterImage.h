// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QRect>

#include <qvbarcode/surface/RasterSurface.h>

namespace qv::widget {

// A deep copy of the surface's pixels, or of an area inside it, as a Qt image in the same
// RGB layout; a null image when Qt cannot allocate it.
QImage ToQImage(const surface::RasterSurface& surface);
QImage ToQImage(const surface::RasterSurface& surface, const QRect& area);

}  // namespace qv::widget
