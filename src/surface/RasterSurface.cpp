#include "surface/RasterSurface.h"

#include <algorithm>
#include <cstring>

#include "host/FailedCall.h"
#include "surface/LineSteps.h"

namespace qv::surface {

using host::FailedCall;
using host::FailureReason;

namespace {

// Bytes of pixels of one colour: a memset when the colour is a grey, as captions' paper is.
void FillSpan(std::uint8_t* first, std::size_t bytes, const std::uint8_t (&rgb)[3]) {
    if (rgb[0] == rgb[1] && rgb[1] == rgb[2]) {
        std::memset(first, rgb[0], bytes);
        return;
    }
    for (std::size_t i = 0; i < bytes; i += 3) {
        std::memcpy(first + i, rgb, 3);
    }
}

// A bar of at least 8 bytes of one grey without a call: word stores, the last one
// overlapping the one before.
void FillGreyWords(std::uint8_t* first, std::size_t bytes, std::uint8_t grey) {
    const std::uint64_t word = grey * std::uint64_t{0x0101010101010101};
    for (std::size_t i = 0; i + 8 < bytes; i += 8) {
        std::memcpy(first + i, &word, 8);
    }
    std::memcpy(first + bytes - 8, &word, 8);
}

// Whole rows are one span: rows [top, bottom) of a surface are contiguous.
void FillWholeRows(std::uint8_t* pixels, std::size_t stride, std::int32_t top, std::int32_t bottom,
                   Colour colour) {
    if (top >= bottom) {
        return;
    }
    const std::uint8_t rgb[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    FillSpan(pixels + static_cast<std::size_t>(top) * stride,
             static_cast<std::size_t>(bottom - top) * stride, rgb);
}

}  // namespace

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

void RasterSurface::PlotPen(std::int32_t x, std::int32_t y) {
    if (pen_.width <= 1) {
        SetPixel(x, y, pen_.colour);
        return;
    }
    const std::int32_t half = pen_.width / 2;
    FillRect({x - half, y - half, x - half + pen_.width, y - half + pen_.width}, pen_.colour);
}

// The pending top row is the source of the rows below it and owns its pixels: pending
// starts after OwnPixels, and a copy settles it first.
void RasterSurface::SetTopOfPendingColumn(std::int32_t x) {
    std::uint8_t* p = pixels_->bytes.get() + static_cast<std::size_t>(pending_.top) * RowBytes() +
                      static_cast<std::size_t>(x) * 3;
    p[0] = RedOf(pen_.colour);
    p[1] = GreenOf(pen_.colour);
    p[2] = BlueOf(pen_.colour);
}

// The first bar over rows of a surface all of one colour: those rows stay alike, so the
// rows below the top one show it and only the top one is drawn.
void RasterSurface::StartPendingColumn(std::int32_t x, std::int32_t top, std::int32_t bottom) {
    const Colour colour = solid_->colour;
    const bool unwritten = unwritten_;
    if (!unwritten) {
        Settle();
    }
    Touched();
    // A uniform surface has no alike rows: a whole fill forgot them, and any other way to
    // one colour went through WritableRows.
    Pixels& pixels = OwnPixels();
    if (unwritten) {
        FillWholeRows(pixels.bytes.get(), RowBytes(), top, top + 1, colour);
    }
    pixels.source = top;
    std::fill(pixels.shown.begin() + top + 1, pixels.shown.begin() + bottom, 1);
    pending_ = {true, top, bottom};
    SetTopOfPendingColumn(x);
}

// A bar of a barcode: inside the surface, over the rows of the bars before it or over a
// surface of one colour, it is one span of the top row. Anything else goes column by column.
void RasterSurface::DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                                std::int32_t bottom) {
    // With a thin pen only the part on the surface is drawn, as each column's LineTo clips
    // it (a column drawn upwards takes the rows below top down to bottom + 1); the pen ends
    // where the whole run leaves it.
    if (pen_.width <= 1 && left < right) {
        const std::int64_t first = top <= bottom ? top : std::int64_t{bottom} + 1;
        const std::int64_t last = top <= bottom ? bottom : std::int64_t{top} + 1;
        const std::int32_t from = std::max(left, 0);
        const std::int32_t to = std::min(right, width_);
        const auto rowsFrom = static_cast<std::int32_t>(std::max<std::int64_t>(first, 0));
        const auto rowsTo = static_cast<std::int32_t>(std::min<std::int64_t>(last, height_));
        const bool clipped = from != left || to != right || rowsFrom != top || rowsTo != bottom;
        if (clipped || from >= to || rowsFrom >= rowsTo) {
            if (from < to && rowsFrom < rowsTo) {
                DrawColumns(from, to, rowsFrom, rowsTo);
            }
            penX_ = right - 1;
            penY_ = bottom;
            return;
        }
    }
    if (left >= right || left < 0 || right > width_ || top < 0 || bottom > height_ ||
        top >= bottom || pen_.width > 1) {
        DrawingSurface::DrawColumns(left, right, top, bottom);
        return;
    }
    if (!pending_.active || pending_.top != top || pending_.bottom != bottom) {
        if (!Uniform() || bottom - top < 2) {
            DrawingSurface::DrawColumns(left, right, top, bottom);
            return;
        }
        StartPendingColumn(left, top, bottom);
    }
    const std::uint8_t rgb[3] = {RedOf(pen_.colour), GreenOf(pen_.colour), BlueOf(pen_.colour)};
    FillSpan(pixels_->bytes.get() + static_cast<std::size_t>(top) * RowBytes() +
                 static_cast<std::size_t>(left) * 3,
             static_cast<std::size_t>(right - left) * 3, rgb);
    penX_ = right - 1;
    penY_ = bottom;
}

// Once the first run has made the rows alike, every further run over them is one span of
// the top row: checked and written here without a call per bar.
void RasterSurface::DrawColumnRuns(std::span<const ColumnRun> runs, std::int32_t top,
                                   std::int32_t bottom) {
    const std::uint8_t rgb[3] = {RedOf(pen_.colour), GreenOf(pen_.colour), BlueOf(pen_.colour)};
    const bool grey = rgb[0] == rgb[1] && rgb[1] == rgb[2];
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (!pending_.active || pending_.top != top || pending_.bottom != bottom ||
            pen_.width > 1) {
            DrawColumns(runs[i].left, runs[i].right, top, bottom);
            continue;
        }
        // The pending top row owns its pixels (see SetTopOfPendingColumn).
        std::uint8_t* const row = pixels_->bytes.get() + static_cast<std::size_t>(top) * RowBytes();
        for (; i < runs.size(); ++i) {
            const ColumnRun run = runs[i];
            if (run.left >= run.right || run.left < 0 || run.right > width_) {
                DrawColumns(run.left, run.right, top, bottom);
                break;
            }
            std::uint8_t* const first = row + static_cast<std::size_t>(run.left) * 3;
            const auto bytes = static_cast<std::size_t>(run.right - run.left) * 3;
            if (bytes <= 6) {
                // A bar of one or two pixels, most bars at one pixel a module: its first and
                // last pixel, the same one for a single pixel, without a branch on its width.
                std::memcpy(first, rgb, 3);
                std::memcpy(first + bytes - 3, rgb, 3);
            } else if (grey && bytes >= 8) {
                FillGreyWords(first, bytes, rgb[0]);
            } else {
                FillSpan(first, bytes, rgb);
            }
            penX_ = run.right - 1;
            penY_ = bottom;
        }
    }
}

void RasterSurface::LineTo(std::int32_t x, std::int32_t y) {
    // The next bar of a run over the same rows, most of any barcode: only its top pixel is
    // drawn.
    if (pending_.active && x == penX_ && penY_ == pending_.top && y == pending_.bottom &&
        pen_.width <= 1 && x >= 0 && x < width_) {
        SetTopOfPendingColumn(x);
        penY_ = y;
        return;
    }
    LineToOtherwise(x, y);
}

// Every other line: the first bar of a run, bars over other rows, wide pens, slants.
void RasterSurface::LineToOtherwise(std::int32_t x, std::int32_t y) {
    const std::int64_t cx = penX_;
    const std::int64_t cy = penY_;
    const int sy = cy < y ? 1 : -1;
    if (cx == x) {
        // Vertical bars are the whole workload: clip the span instead of walking it off-surface.
        if (x >= 0 && x < width_ && cy != y) {
            const std::int64_t first = sy > 0 ? cy : std::int64_t{y} + 1;
            const std::int64_t last = sy > 0 ? std::int64_t{y} - 1 : cy;
            const auto top = static_cast<std::int32_t>(std::max<std::int64_t>(first, 0));
            const auto bottom =
                static_cast<std::int32_t>(std::min<std::int64_t>(last, height_ - 1)) + 1;
            if (pen_.width > 1) {
                for (std::int32_t row = top; row < bottom; ++row) {
                    PlotPen(x, row);
                }
            } else if (pending_.active && top == pending_.top && bottom == pending_.bottom) {
                SetTopOfPendingColumn(x);
            } else if (Uniform() && bottom - top > 1) {
                StartPendingColumn(x, top, bottom);
            } else if (top < bottom) {
                Settle();
                // One pixel per row straight into the column, no per-pixel checks.
                Touched();
                const std::uint8_t r = RedOf(pen_.colour);
                const std::uint8_t g = GreenOf(pen_.colour);
                const std::uint8_t b = BlueOf(pen_.colour);
                const std::size_t stride = RowBytes();
                std::uint8_t* p = WritableRows(top, bottom) +
                                  static_cast<std::size_t>(top) * stride +
                                  static_cast<std::size_t>(x) * 3;
                for (std::int32_t row = top; row < bottom; ++row, p += stride) {
                    p[0] = r;
                    p[1] = g;
                    p[2] = b;
                }
            }
        }
    } else {
        ForEachLinePixel(cx, cy, x, y, [this](std::int64_t px, std::int64_t py) {
            PlotPen(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py));
        });
    }
    penX_ = x;
    penY_ = y;
}

}  // namespace qv::surface
