// SPDX-License-Identifier: MIT
#include <qvbarcode/surface/HostMemorySurface.h>

#include <algorithm>
#include <cstdlib>

#include <qvbarcode/host/FailedCall.h>

namespace qv::surface {

using host::FailedCall;
using host::FailureReason;

namespace {

std::int64_t RowDistance(const HostPixels& pixels) {
    return std::llabs(std::int64_t{pixels.stride});
}

// Half the pen beyond a line's pixels on the top-left side, the rest on the other, as the
// raster surface plots a wide pen.
struct PenReach {
    std::int64_t before;
    std::int64_t after;
};
PenReach ReachOf(const Pen& pen) {
    if (pen.width <= 1) return {0, 1};
    return {pen.width / 2, pen.width - pen.width / 2};
}

}  // namespace

std::size_t HostPixels::Span() const {
    if (width == 0 || height == 0) return 0;
    return static_cast<std::size_t>(RowDistance(*this) * (height - 1) +
                                    std::int64_t{width} * BytesPerPixel());
}

std::uint8_t* HostPixels::Row(std::int32_t y) const {
    const std::int64_t index = stride >= 0 ? y : std::int64_t{height} - 1 - y;
    return block + index * RowDistance(*this);
}

void CheckHostPixels(const HostPixels& pixels) {
    if (pixels.bitsPerPixel != 24 && pixels.bitsPerPixel != 32) {
        throw FailedCall(FailureReason::InvalidValue, "pixels must have 24 or 32 bits");
    }
    if (pixels.width < 0 || pixels.height < 0) {
        throw FailedCall(FailureReason::InvalidValue, "a surface size must not be negative");
    }
    if (RowDistance(pixels) < std::int64_t{pixels.width} * pixels.BytesPerPixel()) {
        throw FailedCall(FailureReason::InvalidValue, "the row stride is shorter than a row");
    }
    if (pixels.block == nullptr && pixels.Span() > 0) {
        throw FailedCall(FailureReason::InvalidValue, "no pixels given");
    }
}

void CopyToHost(const RasterSurface& from, const Rect& area, const HostPixels& to) {
    const int bytes = to.BytesPerPixel();
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* rgb = from.RowData(y) + std::size_t{3} * area.left;
        std::uint8_t* bgr = to.Row(y) + static_cast<std::size_t>(bytes) * area.left;
        for (std::int32_t x = area.left; x < area.right; ++x, rgb += 3, bgr += bytes) {
            bgr[0] = rgb[2];
            bgr[1] = rgb[1];
            bgr[2] = rgb[0];
        }
    }
}

void CopyFromHost(const HostPixels& from, const Rect& area, RasterSurface& to) {
    const int bytes = from.BytesPerPixel();
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* bgr = from.Row(y) + static_cast<std::size_t>(bytes) * area.left;
        std::uint8_t* rgb = to.WritableRowData(y) + std::size_t{3} * area.left;
        for (std::int32_t x = area.left; x < area.right; ++x, rgb += 3, bgr += bytes) {
            rgb[0] = bgr[2];
            rgb[1] = bgr[1];
            rgb[2] = bgr[0];
        }
    }
}

HostMemorySurface::HostMemorySurface(const HostPixels& pixels)
    : pixels_((CheckHostPixels(pixels), pixels)), raster_(pixels.width, pixels.height, kWhite) {}

template <typename Draw>
void HostMemorySurface::Through(std::int64_t left, std::int64_t top, std::int64_t right,
                                std::int64_t bottom, Area kind, Draw&& draw) {
    const Rect area{static_cast<std::int32_t>(std::clamp<std::int64_t>(left, 0, width())),
                    static_cast<std::int32_t>(std::clamp<std::int64_t>(top, 0, height())),
                    static_cast<std::int32_t>(std::clamp<std::int64_t>(right, 0, width())),
                    static_cast<std::int32_t>(std::clamp<std::int64_t>(bottom, 0, height()))};
    const bool copied = attached_ && area.left < area.right && area.top < area.bottom;
    if (copied && kind == Area::Read) CopyFromHost(pixels_, area, raster_);
    draw();
    if (copied) CopyToHost(raster_, area, pixels_);
}

template <typename Draw>
void HostMemorySurface::ThroughLine(std::int64_t x0, std::int64_t y0, std::int64_t x1,
                                    std::int64_t y1, Draw&& draw) {
    const PenReach reach = ReachOf(raster_.pen());
    Through(std::min(x0, x1) - reach.before, std::min(y0, y1) - reach.before,
            std::max(x0, x1) + reach.after, std::max(y0, y1) + reach.after, Area::Read,
            std::forward<Draw>(draw));
}

void HostMemorySurface::FillRect(const Rect& rect, Colour brushColour) {
    Through(rect.left, rect.top, rect.right, rect.bottom, Area::Overwritten,
            [&] { raster_.FillRect(rect, brushColour); });
}

void HostMemorySurface::LineTo(std::int32_t x, std::int32_t y) {
    ThroughLine(raster_.penX(), raster_.penY(), x, y, [&] { raster_.LineTo(x, y); });
}

void HostMemorySurface::DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                                    std::int32_t bottom) {
    if (left >= right) return;
    const auto draw = [&] { raster_.DrawColumns(left, right, top, bottom); };
    // The bars of a barcode: a thin pen going down sets exactly these columns and rows.
    if (raster_.pen().width <= 1 && top < bottom) {
        Through(left, top, right, bottom, Area::Overwritten, draw);
    } else {
        ThroughLine(left, top, std::int64_t{right} - 1, bottom, draw);
    }
}

// Text stays inside its rectangle.
void HostMemorySurface::DrawText(std::string_view windows1252Text, const Rect& rect,
                                 unsigned format) {
    Through(rect.left, rect.top, rect.right, rect.bottom, Area::Read,
            [&] { raster_.DrawText(windows1252Text, rect, format); });
}

}  // namespace qv::surface
