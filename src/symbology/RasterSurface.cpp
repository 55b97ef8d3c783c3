#include "symbology/RasterSurface.h"

#include <algorithm>
#include <cstdlib>

#include "component/FailedCall.h"
#include "symbology/Windows1252.h"

namespace qv::symbology {

using component::FailedCall;
using component::FailureReason;

namespace {

constexpr unsigned kRight = 0x02;
constexpr unsigned kVerticalCentre = 0x04;
constexpr unsigned kNoClip = 0x100;

std::int32_t FloorHalf(std::int64_t value) {
    return static_cast<std::int32_t>(value >= 0 ? value / 2 : -((-value + 1) / 2));
}

}  // namespace

RasterSurface::RasterSurface(std::int32_t width, std::int32_t height, Colour background)
    : width_(width), height_(height), background_(background) {
    if (width < 0 || height < 0) {
        throw FailedCall(FailureReason::InvalidValue, "surface size must not be negative");
    }
    if (std::int64_t{width} * height > kMaxPixels) {
        throw FailedCall(FailureReason::OutOfMemory, "surface larger than 64 million pixels");
    }
    try {
        pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    } catch (const std::bad_alloc&) {
        throw FailedCall(FailureReason::OutOfMemory, "surface pixels");
    }
    FillRect({0, 0, width, height}, background);
}

Colour RasterSurface::PixelAt(std::int32_t x, std::int32_t y) const {
    if (!Contains(x, y)) {
        throw FailedCall(FailureReason::InvalidValue, "pixel outside the surface");
    }
    const std::uint8_t* p = RowData(y) + static_cast<std::size_t>(x) * 3;
    return MakeColour(p[0], p[1], p[2]);
}

void RasterSurface::SetPixel(std::int32_t x, std::int32_t y, Colour colour) {
    if (!Contains(x, y)) {
        return;
    }
    std::uint8_t* p = PixelPointer(x, y);
    p[0] = RedOf(colour);
    p[1] = GreenOf(colour);
    p[2] = BlueOf(colour);
}

void RasterSurface::Blit(const RasterSurface& source, std::int32_t x, std::int32_t y) {
    const std::int32_t left = std::max(0, x);
    const std::int32_t right =
        static_cast<std::int32_t>(std::min<std::int64_t>(width_, std::int64_t{x} + source.width()));
    const std::int32_t top = std::max(0, y);
    const std::int32_t bottom = static_cast<std::int32_t>(
        std::min<std::int64_t>(height_, std::int64_t{y} + source.height()));
    if (left >= right || top >= bottom) {
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
    for (std::int32_t row = top; row < bottom; ++row) {
        const std::uint8_t* from = source.RowData(row - y) + static_cast<std::size_t>(left - x) * 3;
        std::copy_n(from, bytes, PixelPointer(left, row));
    }
}

void RasterSurface::FillRect(const Rect& rect, Colour brushColour) {
    const std::int32_t left = std::max(rect.left, 0);
    const std::int32_t right = std::min(rect.right, width_);
    const std::int32_t top = std::max(rect.top, 0);
    const std::int32_t bottom = std::min(rect.bottom, height_);
    if (left >= right || top >= bottom) {
        return;
    }
    const std::uint8_t rgb[3] = {RedOf(brushColour), GreenOf(brushColour), BlueOf(brushColour)};
    for (std::int32_t y = top; y < bottom; ++y) {
        std::uint8_t* p = PixelPointer(left, y);
        for (std::int32_t x = left; x < right; ++x, p += 3) {
            p[0] = rgb[0];
            p[1] = rgb[1];
            p[2] = rgb[2];
        }
    }
}

Pen RasterSurface::SelectPen(const Pen& pen) {
    const Pen previous = pen_;
    pen_ = pen;
    return previous;
}

void RasterSurface::MoveTo(std::int32_t x, std::int32_t y) {
    penX_ = x;
    penY_ = y;
}

void RasterSurface::PlotPen(std::int32_t x, std::int32_t y) {
    if (pen_.width <= 1) {
        SetPixel(x, y, pen_.colour);
        return;
    }
    const std::int32_t half = pen_.width / 2;
    FillRect({x - half, y - half, x - half + pen_.width, y - half + pen_.width}, pen_.colour);
}

void RasterSurface::LineTo(std::int32_t x, std::int32_t y) {
    std::int64_t cx = penX_;
    std::int64_t cy = penY_;
    const std::int64_t dx = std::llabs(std::int64_t{x} - cx);
    const std::int64_t dy = -std::llabs(std::int64_t{y} - cy);
    const int sx = cx < x ? 1 : -1;
    const int sy = cy < y ? 1 : -1;
    if (dx == 0) {
        // Vertical bars are the whole workload: clip the span instead of walking it off-surface.
        if (x >= 0 && x < width_ && cy != y) {
            const std::int64_t first = sy > 0 ? cy : std::int64_t{y} + 1;
            const std::int64_t last = sy > 0 ? std::int64_t{y} - 1 : cy;
            for (std::int64_t row = std::max<std::int64_t>(first, 0);
                 row <= std::min<std::int64_t>(last, height_ - 1); ++row) {
                PlotPen(x, static_cast<std::int32_t>(row));
            }
        }
    } else {
        std::int64_t error = dx + dy;
        while (cx != x || cy != y) {
            PlotPen(static_cast<std::int32_t>(cx), static_cast<std::int32_t>(cy));
            const std::int64_t twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                cx += sx;
            }
            if (twice <= dx) {
                error += dx;
                cy += sy;
            }
        }
    }
    penX_ = x;
    penY_ = y;
}

int RasterSurface::SetBkMode(int mode) {
    const int previous = bkMode_;
    bkMode_ = mode;
    return previous;
}

void RasterSurface::BlendInk(std::int32_t x, std::int32_t y, std::uint8_t coverage) {
    std::uint8_t* p = PixelPointer(x, y);
    const std::uint8_t ink[3] = {RedOf(textColour_), GreenOf(textColour_), BlueOf(textColour_)};
    for (int i = 0; i < 3; ++i) {
        p[i] = static_cast<std::uint8_t>((p[i] * (255 - coverage) + ink[i] * coverage + 127) / 255);
    }
}

void RasterSurface::DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) {
    if (!font_) {
        font_ = ControlFont();
    }
    const RenderedText text = font_->Render(DecodeWindows1252(windows1252Text));
    const std::int64_t boxWidth = std::int64_t{rect.right} - rect.left;
    const std::int64_t boxHeight = std::int64_t{rect.bottom} - rect.top;
    std::int64_t left = rect.left;
    if (format & kCentre) {
        left += FloorHalf(boxWidth - text.width);
    } else if (format & kRight) {
        left = std::int64_t{rect.right} - text.width;
    }
    std::int64_t top = rect.top;
    if (format & kBottom) {
        top = std::int64_t{rect.bottom} - text.height;
    } else if (format & kVerticalCentre) {
        top += FloorHalf(boxHeight - text.height);
    }
    Rect clip{0, 0, width_, height_};
    if (!(format & kNoClip)) {
        clip = {std::max(clip.left, rect.left), std::max(clip.top, rect.top),
                std::min(clip.right, rect.right), std::min(clip.bottom, rect.bottom)};
    }
    for (std::int32_t row = 0; row < text.height; ++row) {
        const std::int64_t y = top + row;
        if (y < clip.top || y >= clip.bottom) {
            continue;
        }
        for (std::int32_t column = 0; column < text.width; ++column) {
            const std::int64_t x = left + column;
            if (x < clip.left || x >= clip.right) {
                continue;
            }
            const auto px = static_cast<std::int32_t>(x);
            const auto py = static_cast<std::int32_t>(y);
            if (bkMode_ == kOpaque) {
                SetPixel(px, py, background_);
            }
            if (const std::uint8_t c = text.at(column, row); c != 0) {
                BlendInk(px, py, c);
            }
        }
    }
}

}  // namespace qv::symbology
