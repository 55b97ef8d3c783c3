#include "surface/RasterSurface.h"

#include <algorithm>
#include <cstring>

#include "host/FailedCall.h"
#include "surface/PixelFill.h"

namespace qv::surface {

using host::FailedCall;
using host::FailureReason;

RasterSurface::RasterSurface(std::int32_t width, std::int32_t height, Colour background)
    : width_(width), height_(height), background_(background) {
    if (width < 0 || height < 0) {
        throw FailedCall(FailureReason::InvalidValue, "surface size must not be negative");
    }
    // Each row costs memory of its own too: an empty surface counts as one pixel wide, so
    // that a host's 0 x 2,000,000,000 surface is refused rather than given gigabytes.
    if (std::int64_t{std::max(width, 1)} * std::max(height, 1) > kMaxPixels) {
        throw FailedCall(FailureReason::OutOfMemory, "surface larger than 64 million pixels");
    }
    // Left unset: the fill below is written before anything reads a row.
    pixels_ = UnsetPixels();
    FillRect({0, 0, width, height}, background);
}

// Copies share the pixels with every row already written, so both sides see finished rows.
RasterSurface::RasterSurface(const RasterSurface& other)
    : PenAndModeState(other),
      width_(other.width_),
      height_(other.height_),
      solid_(other.solid_),
      background_(other.background_),
      textColour_(other.textColour_),
      font_(other.font_) {
    other.Settle();
    pixels_ = other.pixels_;
}

RasterSurface& RasterSurface::operator=(const RasterSurface& other) {
    if (this != &other) {
        other.Settle();
        PenAndModeState::operator=(other);
        width_ = other.width_;
        height_ = other.height_;
        pixels_ = other.pixels_;
        pending_ = {};
        background_ = other.background_;
        textColour_ = other.textColour_;
        font_ = other.font_;
        solid_ = other.solid_;
        unwritten_ = false;
    }
    return *this;
}

void RasterSurface::SettleRows() const {
    unwritten_ = false;
    Pixels& pixels = OwnPixels();
    const std::size_t stride = RowBytes();
    // Runs of rows that neither are the source nor show it take the fill's colour.
    std::int32_t y = 0;
    while (y < height_) {
        const std::int32_t first = y;
        while (y < height_ && y != pixels.source && !pixels.shown[static_cast<std::size_t>(y)]) {
            ++y;
        }
        FillWholeRows(pixels.bytes.get(), stride, first, y, unwrittenColour_);
        while (y < height_ && (y == pixels.source || pixels.shown[static_cast<std::size_t>(y)])) {
            ++y;
        }
    }
}

RasterSurface::Pixels& RasterSurface::OwnPixels() const {
    if (pixels_.use_count() > 1) {
        std::shared_ptr<Pixels> copy = UnsetPixels();
        std::memcpy(copy->bytes.get(), pixels_->bytes.get(),
                    RowBytes() * static_cast<std::size_t>(height_));
        copy->shown = pixels_->shown;
        copy->source = pixels_->source;
        pixels_ = std::move(copy);
    }
    return *pixels_;
}

std::shared_ptr<RasterSurface::Pixels> RasterSurface::UnsetPixels() const {
    try {
        auto pixels = std::make_shared<Pixels>();
        pixels->bytes = std::make_unique_for_overwrite<std::uint8_t[]>(
            RowBytes() * static_cast<std::size_t>(height_));
        pixels->shown.assign(static_cast<std::size_t>(height_), 0);
        return pixels;
    } catch (const std::bad_alloc&) {
        throw FailedCall(FailureReason::OutOfMemory, "surface pixels");
    }
}

std::uint8_t* RasterSurface::WritableRows(std::int32_t top, std::int32_t bottom) {
    Pixels& pixels = OwnPixels();
    std::uint8_t* bytes = pixels.bytes.get();
    if (pixels.source < 0) {
        return bytes;
    }
    const std::size_t stride = RowBytes();
    const std::uint8_t* source = bytes + static_cast<std::size_t>(pixels.source) * stride;
    // Writing the source would change every row showing it: they all take their copy first.
    const bool all = pixels.source >= top && pixels.source < bottom;
    const std::int32_t first = all ? 0 : top;
    const std::int32_t end = all ? height_ : bottom;
    for (std::int32_t y = first; y < end; ++y) {
        if (pixels.shown[static_cast<std::size_t>(y)]) {
            std::memcpy(bytes + static_cast<std::size_t>(y) * stride, source, stride);
            pixels.shown[static_cast<std::size_t>(y)] = 0;
        }
    }
    if (all) {
        pixels.source = -1;
    }
    return bytes;
}

std::vector<std::uint8_t> RasterSurface::ContiguousPixels() const {
    std::vector<std::uint8_t> result(RowBytes() * static_cast<std::size_t>(height_));
    for (std::int32_t y = 0; !result.empty() && y < height_; ++y) {
        std::memcpy(result.data() + static_cast<std::size_t>(y) * RowBytes(), RowData(y),
                    RowBytes());
    }
    return result;
}

Colour RasterSurface::PixelAt(std::int32_t x, std::int32_t y) const {
    if (!Contains(x, y)) {
        throw FailedCall(FailureReason::InvalidValue, "pixel outside the surface");
    }
    const std::uint8_t* p = RowData(y) + static_cast<std::size_t>(x) * 3;  // settles
    return MakeColour(p[0], p[1], p[2]);
}

std::uint8_t* RasterSurface::WritableRowData(std::int32_t y) {
    if (!Contains(0, y)) {
        throw FailedCall(FailureReason::InvalidValue, "row outside the surface");
    }
    Settle();
    Touched();
    return WritableRows(y, y + 1) + static_cast<std::size_t>(y) * RowBytes();
}

void RasterSurface::SetPixel(std::int32_t x, std::int32_t y, Colour colour) {
    if (!Contains(x, y)) {
        return;
    }
    Settle();
    Touched();
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
    Settle();
    source.Settle();
    Touched();
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
    const Rect clipped{left, top, right, bottom};
    const bool whole = clipped == Rect{0, 0, width_, height_};
    if (whole && Uniform() && solid_->colour == brushColour) {
        return;
    }
    solid_ = SolidRect{clipped, brushColour};
    if (whole) {
        // Nothing under it matters any more, alike rows included; the rows are written when
        // something needs them. Shared pixels are left to their other owners, not copied.
        pending_.active = false;
        unwritten_ = true;
        unwrittenColour_ = brushColour;
        if (pixels_.use_count() > 1) {
            pixels_ = UnsetPixels();
        } else if (pixels_->source >= 0) {
            std::fill(pixels_->shown.begin(), pixels_->shown.end(), 0);
            pixels_->source = -1;
        }
        return;
    }
    Settle();
    FillRows(left, top, right, bottom, brushColour);
}

// Fills are the bulk of a drawing: grey ones are a memset per row, others one row built
// and copied down.
void RasterSurface::FillRows(std::int32_t left, std::int32_t top, std::int32_t right,
                             std::int32_t bottom, Colour colour) {
    const std::uint8_t rgb[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
    const std::size_t stride = RowBytes();
    std::uint8_t* first = WritableRows(top, bottom) + static_cast<std::size_t>(top) * stride +
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
