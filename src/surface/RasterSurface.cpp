// SPDX-License-Identifier: MIT
#include <qvbarcode/surface/RasterSurface.h>

#include <algorithm>
#include <cstring>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/surface/PixelFill.h>

namespace qv::surface {

using host::FailedCall;
using host::FailureReason;

RasterSurface::RasterSurface(std::int32_t width, std::int32_t height, Colour background)
    : rows_(width, height, background), background_(background) {
    if (width > 0 && height > 0) {
        solid_ = SolidRect{{0, 0, width, height}, background};
    }
}

// Everything but the last text painted, which stays with the surface that drew it.
RasterSurface::RasterSurface(const RasterSurface& other)
    : PenAndModeState(other),
      rows_(other.rows_),
      solid_(other.solid_),
      background_(other.background_),
      textColour_(other.textColour_),
      font_(other.font_) {}

RasterSurface& RasterSurface::operator=(const RasterSurface& other) {
    if (this != &other) {
        PenAndModeState::operator=(other);
        rows_ = other.rows_;
        solid_ = other.solid_;
        background_ = other.background_;
        textColour_ = other.textColour_;
        font_ = other.font_;
    }
    return *this;
}

std::vector<std::uint8_t> RasterSurface::ContiguousPixels() const {
    std::vector<std::uint8_t> result(RowBytes() * static_cast<std::size_t>(height()));
    for (std::int32_t y = 0; !result.empty() && y < height(); ++y) {
        std::memcpy(result.data() + static_cast<std::size_t>(y) * RowBytes(), RowData(y),
                    RowBytes());
    }
    return result;
}

Colour RasterSurface::PixelAt(std::int32_t x, std::int32_t y) const {
    if (!Contains(x, y)) {
        throw FailedCall(FailureReason::InvalidValue, "pixel outside the surface");
    }
    const std::uint8_t* p = RowData(y) + static_cast<std::size_t>(x) * 3;
    return MakeColour(p[0], p[1], p[2]);
}

std::uint8_t* RasterSurface::WritableRowData(std::int32_t y) {
    if (!Contains(0, y)) {
        throw FailedCall(FailureReason::InvalidValue, "row outside the surface");
    }
    Touched();
    return PixelPointer(0, y);
}

void RasterSurface::SetPixel(std::int32_t x, std::int32_t y, Colour colour) {
    if (!Contains(x, y)) {
        return;
    }
    Touched();
    std::uint8_t* p = PixelPointer(x, y);
    p[0] = RedOf(colour);
    p[1] = GreenOf(colour);
    p[2] = BlueOf(colour);
}

void RasterSurface::Blit(const RasterSurface& source, std::int32_t x, std::int32_t y) {
    const std::int32_t left = std::max(0, x);
    const std::int32_t right = static_cast<std::int32_t>(
        std::min<std::int64_t>(width(), std::int64_t{x} + source.width()));
    const std::int32_t top = std::max(0, y);
    const std::int32_t bottom = static_cast<std::int32_t>(
        std::min<std::int64_t>(height(), std::int64_t{y} + source.height()));
    if (left >= right || top >= bottom) {
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
    Touched();
    for (std::int32_t row = top; row < bottom; ++row) {
        const std::uint8_t* from = source.RowData(row - y) + static_cast<std::size_t>(left - x) * 3;
        std::copy_n(from, bytes, PixelPointer(left, row));
    }
}

void RasterSurface::FillRect(const Rect& rect, Colour brushColour) {
    const std::int32_t left = std::max(rect.left, 0);
    const std::int32_t right = std::min(rect.right, width());
    const std::int32_t top = std::max(rect.top, 0);
    const std::int32_t bottom = std::min(rect.bottom, height());
    if (left >= right || top >= bottom) {
        return;
    }
    const Rect clipped{left, top, right, bottom};
    const bool whole = clipped == Rect{0, 0, width(), height()};
    if (whole && Uniform() && solid_->colour == brushColour) {
        return;
    }
    solid_ = SolidRect{clipped, brushColour};
    if (whole) {
        // Nothing under it matters any more, alike rows included.
        rows_.FillAll(brushColour);
        return;
    }
    FillRows(left, top, right, bottom, brushColour);
}

// Fills are the bulk of a drawing: grey ones are a memset per row, others one row built
// and copied down.
void RasterSurface::FillRows(std::int32_t left, std::int32_t top, std::int32_t right,
                             std::int32_t bottom, Colour colour) {
    const std::uint8_t rgb[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
    const std::size_t stride = RowBytes();
    std::uint8_t* first = rows_.WritableRows(top, bottom) + static_cast<std::size_t>(top) * stride +
                          static_cast<std::size_t>(left) * 3;
    if (rgb[0] == rgb[1] && rgb[1] == rgb[2]) {
        for (std::int32_t y = top; y < bottom; ++y, first += stride) {
            std::memset(first, rgb[0], bytes);
        }
        return;
    }
    FillSpan(first, bytes, rgb);
    std::uint8_t* row = first;
    for (std::int32_t y = top + 1; y < bottom; ++y) {
        row += stride;
        std::memcpy(row, first, bytes);
    }
}

}  // namespace qv::surface
