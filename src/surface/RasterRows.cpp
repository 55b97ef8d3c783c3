// SPDX-License-Identifier: MIT
#include <qvbarcode/surface/RasterRows.h>

#include <algorithm>
#include <cstring>
#include <new>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/surface/PixelFill.h>

namespace qv::surface {

using host::FailedCall;
using host::FailureReason;

RasterRows::RasterRows(std::int32_t width, std::int32_t height, Colour colour)
    : width_(width), height_(height) {
    if (width < 0 || height < 0) {
        throw FailedCall(FailureReason::InvalidValue, "surface size must not be negative");
    }
    // Each row costs memory of its own too: an empty surface counts as one pixel wide, so
    // that a host's 0 x 2,000,000,000 surface is refused rather than given gigabytes.
    if (std::int64_t{std::max(width, 1)} * std::max(height, 1) > kMaxPixels) {
        throw FailedCall(FailureReason::OutOfMemory, "surface larger than 64 million pixels");
    }
    pixels_ = NewPixels(colour);
}

std::shared_ptr<RasterRows::Pixels> RasterRows::NewPixels(Colour colour) const {
    try {
        auto pixels = std::make_shared<Pixels>();
        // Left unset: a row is written before it stops showing the fill row.
        pixels->bytes = std::make_unique_for_overwrite<std::uint8_t[]>(
            RowBytes() * static_cast<std::size_t>(height_));
        pixels->fill = std::make_unique_for_overwrite<std::uint8_t[]>(RowBytes());
        pixels->rows.assign(static_cast<std::size_t>(height_), kShowsFill);
        FillWholeRows(pixels->fill.get(), RowBytes(), 0, 1, colour);
        return pixels;
    } catch (const std::bad_alloc&) {
        throw FailedCall(FailureReason::OutOfMemory, "surface pixels");
    }
}

void RasterRows::FillAll(Colour colour) {
    if (pixels_.use_count() > 1) {
        pixels_ = NewPixels(colour);
        return;
    }
    Pixels& pixels = *pixels_;
    FillWholeRows(pixels.fill.get(), RowBytes(), 0, 1, colour);
    std::fill(pixels.rows.begin(), pixels.rows.end(), kShowsFill);
    pixels.source = -1;
    pixels.sharedEnd = -1;
}

// Only rows with bytes of their own are copied: the others show a row copied with them.
RasterRows::Pixels& RasterRows::OwnPixels() {
    if (pixels_.use_count() > 1) {
        const Pixels& shared = *pixels_;
        std::shared_ptr<Pixels> copy = NewPixels(kBlack);
        std::memcpy(copy->fill.get(), shared.fill.get(), RowBytes());
        copy->rows = shared.rows;
        copy->source = shared.source;
        copy->sharedEnd = shared.sharedEnd;
        const std::size_t stride = RowBytes();
        std::int32_t y = 0;
        while (y < height_) {
            const std::int32_t first = y;
            while (y < height_ && shared.rows[static_cast<std::size_t>(y)] == kOwnBytes) ++y;
            const std::size_t offset = static_cast<std::size_t>(first) * stride;
            std::memcpy(copy->bytes.get() + offset, shared.bytes.get() + offset,
                        static_cast<std::size_t>(y - first) * stride);
            while (y < height_ && shared.rows[static_cast<std::size_t>(y)] != kOwnBytes) ++y;
        }
        pixels_ = std::move(copy);
    }
    return *pixels_;
}

std::uint8_t* RasterRows::WritableRows(std::int32_t top, std::int32_t bottom) {
    Pixels& pixels = OwnPixels();
    std::uint8_t* const bytes = pixels.bytes.get();
    const std::size_t stride = RowBytes();
    const auto rowBytes = [&](std::int32_t y) {
        return bytes + static_cast<std::size_t>(y) * stride;
    };
    // Writing the source would change every row showing it: they all take their copy first.
    if (pixels.source >= top && pixels.source < bottom) {
        for (std::int32_t y = 0; y < height_; ++y) {
            if (pixels.rows[static_cast<std::size_t>(y)] == kShowsSource) {
                std::memcpy(rowBytes(y), rowBytes(pixels.source), stride);
                pixels.rows[static_cast<std::size_t>(y)] = kOwnBytes;
            }
        }
        pixels.source = -1;
        pixels.sharedEnd = -1;
    }
    for (std::int32_t y = top; y < bottom; ++y) {
        RowKind& kind = pixels.rows[static_cast<std::size_t>(y)];
        if (kind == kShowsSource) {
            std::memcpy(rowBytes(y), rowBytes(pixels.source), stride);
            pixels.sharedEnd = -1;
        } else if (kind == kShowsFill) {
            std::memcpy(rowBytes(y), pixels.fill.get(), stride);
        }
        kind = kOwnBytes;
    }
    return bytes;
}

std::uint8_t* RasterRows::ShareRow(std::int32_t top, std::int32_t bottom) {
    Pixels& pixels = OwnPixels();
    // An earlier source stays what its rows show: they take their copy.
    if (pixels.source >= 0) {
        WritableRows(pixels.source, pixels.source + 1);
    }
    std::uint8_t* const row =
        WritableRows(top, top + 1) + static_cast<std::size_t>(top) * RowBytes();
    std::fill(pixels.rows.begin() + top + 1, pixels.rows.begin() + bottom, kShowsSource);
    pixels.source = top;
    pixels.sharedEnd = bottom;
    return row;
}

}  // namespace qv::surface
