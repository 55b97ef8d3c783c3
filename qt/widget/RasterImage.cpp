// SPDX-License-Identifier: MIT
#include "RasterImage.h"

#include <cstring>

namespace qv::widget {

QImage ToQImage(const surface::RasterSurface& surface) {
    return ToQImage(surface, QRect(0, 0, surface.width(), surface.height()));
}

QImage ToQImage(const surface::RasterSurface& surface, const QRect& area) {
    const QRect copied = area & QRect(0, 0, surface.width(), surface.height());
    QImage image(copied.width(), copied.height(), QImage::Format_RGB888);
    // Qt answers a picture it cannot allocate with a null image, whose rows are null too.
    if (image.isNull()) return image;
    const auto rowBytes = static_cast<std::size_t>(copied.width()) * 3;
    for (int y = 0; y < copied.height(); ++y) {
        const std::uint8_t* row = surface.RowData(copied.top() + y);
        std::memcpy(image.scanLine(y), row + static_cast<std::size_t>(copied.left()) * 3, rowBytes);
    }
    return image;
}

}  // namespace qv::widget
