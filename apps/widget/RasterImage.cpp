#include "RasterImage.h"

#include <cstring>

namespace qv::widget {

QImage ToQImage(const surface::RasterSurface& surface) {
    QImage image(surface.width(), surface.height(), QImage::Format_RGB888);
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        std::memcpy(image.scanLine(y), surface.RowData(y), surface.RowBytes());
    }
    return image;
}

}  // namespace qv::widget
