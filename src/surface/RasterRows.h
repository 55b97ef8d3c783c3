// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/Colour.h>

namespace qv::surface {

// The pixel rows of a raster surface, 3 bytes a pixel in R, G, B order. Copies share them
// until one of them writes. Rows that are alike may be stored once: a row holds bytes of its
// own, shows the source row (bars drawn over rows of one colour leave them all alike), or
// shows the fill row (what a fill of every row left, written into a row only when something
// draws on it). Reading changes nothing, so one picture may be read from several threads.
class QV_EXPORT RasterRows {
  public:
    // Sizes above this many pixels are refused as out of memory (an empty surface counts as
    // one pixel wide and high).
    static constexpr std::int64_t kMaxPixels = std::int64_t{64} * 1024 * 1024;

    // Every row of one colour. Raises the failed call: invalid value for a negative size, out
    // of memory above kMaxPixels.
    RasterRows(std::int32_t width, std::int32_t height, Colour colour);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * 3; }
    // Row y; rows that are alike may share one pointer.
    const std::uint8_t* Row(std::int32_t y) const {
        const Pixels& pixels = *pixels_;
        switch (pixels.rows[static_cast<std::size_t>(y)]) {
            case kOwnBytes:
                return pixels.bytes.get() + static_cast<std::size_t>(y) * RowBytes();
            case kShowsSource:
                return pixels.bytes.get() + static_cast<std::size_t>(pixels.source) * RowBytes();
            default:
                return pixels.fill.get();
        }
    }

    // Every row of one colour, without writing any: rows shared with copies are left to them.
    void FillAll(Colour colour);
    // The bytes of rows [top, bottom) to write into, for these rows alone and each with bytes
    // of its own, valid until the next call; the pointer is to the first byte of row 0.
    std::uint8_t* WritableRows(std::int32_t top, std::int32_t bottom);
    // Rows [top + 1, bottom) show row top from now on, which holds bytes of its own; rows
    // [top, bottom) must be alike. Returns row top's bytes, as SharedRow does.
    std::uint8_t* ShareRow(std::int32_t top, std::int32_t bottom);
    // Whether the rows [top + 1, bottom), and no others, show row top since ShareRow: writing
    // row top through SharedRow then changes them all at once.
    bool Shares(std::int32_t top, std::int32_t bottom) const {
        return pixels_->source >= 0 && pixels_->source == top && pixels_->sharedEnd == bottom;
    }
    // The bytes of the row the others show, for these rows alone; only while Shares.
    std::uint8_t* SharedRow() {
        return OwnPixels().bytes.get() + static_cast<std::size_t>(pixels_->source) * RowBytes();
    }

  private:
    enum RowKind : std::uint8_t { kOwnBytes, kShowsSource, kShowsFill };
    // At most one row is a source: rows become alike only by bars drawn over rows of one
    // colour, and a fill of every row forgets it all.
    struct Pixels {
        std::unique_ptr<std::uint8_t[]> bytes;  // height * RowBytes(), a row's stale unless own
        std::unique_ptr<std::uint8_t[]> fill;   // RowBytes()
        std::vector<RowKind> rows;
        std::int32_t source = -1;
        // Rows (source, sharedEnd) all show the source while this is not -1.
        std::int32_t sharedEnd = -1;
    };

    // Takes the pixels for these rows alone, copying them if they are shared.
    Pixels& OwnPixels();
    // Rows of this size that all show the fill row in this colour; out of memory is the
    // failed call.
    std::shared_ptr<Pixels> NewPixels(Colour colour) const;

    std::int32_t width_;
    std::int32_t height_;
    std::shared_ptr<Pixels> pixels_;
};

}  // namespace qv::surface
