#include "symbology/RasterSurface.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "component/FailedCall.h"
#include "symbology/LineSteps.h"
#include "symbology/TextPlacement.h"
#include "symbology/Windows1252.h"

namespace qv::symbology {

using component::FailedCall;
using component::FailureReason;

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

// Ink laid with coverage c (0 to 255) over a colour, rounded to the nearest level.
std::uint8_t Blend(unsigned under, unsigned ink, unsigned c) {
    return static_cast<std::uint8_t>((under * (255 - c) + ink * c + 127) / 255);
}

// Every coverage's colour for one ink on one colour; a caption has a few hundred partly
// covered pixels, and the pair of colours seldom changes between drawings.
using InkTable = std::array<std::array<std::uint8_t, 3>, 256>;
const InkTable& InkOn(const std::uint8_t (&paper)[3], const std::uint8_t (&ink)[3]) {
    thread_local InkTable table{};
    thread_local std::optional<std::array<std::uint8_t, 6>> made;
    const std::array<std::uint8_t, 6> wanted{paper[0], paper[1], paper[2], ink[0], ink[1], ink[2]};
    if (made != wanted) {
        for (unsigned c = 0; c < 256; ++c) {
            for (int i = 0; i < 3; ++i) table[c][i] = Blend(paper[i], ink[i], c);
        }
        made = wanted;
    }
    return table;
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
        pixels_ = std::make_shared<std::vector<std::uint8_t>>(static_cast<std::size_t>(width) *
                                                              static_cast<std::size_t>(height) * 3);
    } catch (const std::bad_alloc&) {
        throw FailedCall(FailureReason::OutOfMemory, "surface pixels");
    }
    FillRect({0, 0, width, height}, background);
}

RasterSurface::RasterSurface(const RasterSurface& other)
    : PenAndModeState(other),
      width_(other.width_),
      height_(other.height_),
      uniform_(other.uniform_),
      uniformColour_(other.uniformColour_),
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
        uniform_ = other.uniform_;
        uniformColour_ = other.uniformColour_;
    }
    return *this;
}

void RasterSurface::SettleRows() const {
    const PendingRows rows = pending_;
    pending_.active = false;
    std::uint8_t* pixels = WritablePixels();
    const std::size_t stride = RowBytes();
    const std::size_t offset = static_cast<std::size_t>(rows.left) * 3;
    const std::size_t bytes = static_cast<std::size_t>(rows.right - rows.left) * 3;
    const std::uint8_t* source = pixels + static_cast<std::size_t>(rows.top) * stride + offset;
    for (std::int32_t y = rows.top + 1; y < rows.bottom; ++y) {
        std::memcpy(pixels + static_cast<std::size_t>(y) * stride + offset, source, bytes);
    }
}

std::uint8_t* RasterSurface::WritablePixels() const {
    if (pixels_.use_count() > 1) {
        try {
            pixels_ = std::make_shared<std::vector<std::uint8_t>>(*pixels_);
        } catch (const std::bad_alloc&) {
            throw FailedCall(FailureReason::OutOfMemory, "surface pixels");
        }
    }
    return pixels_->data();
}

Colour RasterSurface::PixelAt(std::int32_t x, std::int32_t y) const {
    if (!Contains(x, y)) {
        throw FailedCall(FailureReason::InvalidValue, "pixel outside the surface");
    }
    const std::uint8_t* p = RowData(y) + static_cast<std::size_t>(x) * 3;  // settles
    return MakeColour(p[0], p[1], p[2]);
}

void RasterSurface::SetPixel(std::int32_t x, std::int32_t y, Colour colour) {
    if (!Contains(x, y)) {
        return;
    }
    Settle();
    uniform_ = false;
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
    uniform_ = false;
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
    const bool whole = left == 0 && top == 0 && right == width_ && bottom == height_;
    if (whole && uniform_ && uniformColour_ == brushColour) {
        return;
    }
    // Pending rows that the fill covers entirely need not be made first.
    if (pending_.active && left <= pending_.left && right >= pending_.right &&
        top <= pending_.top && bottom >= pending_.bottom) {
        pending_.active = false;
    }
    Settle();
    FillRows(left, top, right, bottom, brushColour);
    uniform_ = whole;
    uniformColour_ = brushColour;
}

// Fills are the bulk of a drawing: grey ones are a memset per row, others one row built
// and copied down.
void RasterSurface::FillRows(std::int32_t left, std::int32_t top, std::int32_t right,
                             std::int32_t bottom, Colour colour) {
    const std::uint8_t rgb[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
    const std::size_t stride = RowBytes();
    std::uint8_t* first = PixelPointer(left, top);
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

// Pending rows always own their pixels: they start after WritablePixels, and a copy
// settles them first.
void RasterSurface::SetTopOfPendingColumn(std::int32_t x) {
    pending_.left = std::min(pending_.left, x);
    pending_.right = std::max(pending_.right, x + 1);
    std::uint8_t* p = pixels_->data() + static_cast<std::size_t>(pending_.top) * RowBytes() +
                      static_cast<std::size_t>(x) * 3;
    p[0] = RedOf(pen_.colour);
    p[1] = GreenOf(pen_.colour);
    p[2] = BlueOf(pen_.colour);
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
            } else if (uniform_ && bottom - top > 1) {
                Settle();
                uniform_ = false;
                WritablePixels();
                pending_ = {true, top, bottom, x, x + 1};
                SetTopOfPendingColumn(x);
            } else if (top < bottom) {
                Settle();
                // One pixel per row straight into the column, no per-pixel checks.
                uniform_ = false;
                const std::uint8_t r = RedOf(pen_.colour);
                const std::uint8_t g = GreenOf(pen_.colour);
                const std::uint8_t b = BlueOf(pen_.colour);
                const std::size_t stride = RowBytes();
                std::uint8_t* p = PixelPointer(x, top);
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

void RasterSurface::DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) {
    if (!font_) {
        font_ = ControlFont();
    }
    const RenderedText text = font_->Render(DecodeWindows1252(windows1252Text));
    const auto [left, top] = PlaceText(text.width, text.height, rect, format);
    Rect clip{0, 0, width_, height_};
    if (!(format & kNoClip)) {
        clip = {std::max(clip.left, rect.left), std::max(clip.top, rect.top),
                std::min(clip.right, rect.right), std::min(clip.bottom, rect.bottom)};
    }
    // The clipped part of the text, walked row by row through pixel pointers.
    const std::int64_t firstColumn = std::max<std::int64_t>(0, clip.left - left);
    const std::int64_t endColumn = std::min<std::int64_t>(text.width, clip.right - left);
    const std::int64_t firstRow = std::max<std::int64_t>(0, clip.top - top);
    const std::int64_t endRow = std::min<std::int64_t>(text.height, clip.bottom - top);
    if (firstColumn >= endColumn || firstRow >= endRow) {
        return;
    }
    Settle();
    uniform_ = false;
    const std::uint8_t paper[3] = {RedOf(background_), GreenOf(background_), BlueOf(background_)};
    const std::uint8_t ink[3] = {RedOf(textColour_), GreenOf(textColour_), BlueOf(textColour_)};
    const bool opaque = bkMode_ == kOpaque;
    // Under a caption lies one colour almost everywhere: the paper when opaque, else what the
    // top-left pixel shows (a caption box's fill). Ink on it depends on the coverage alone.
    std::uint8_t under[3];
    std::memcpy(under,
                opaque ? paper
                       : PixelPointer(static_cast<std::int32_t>(left + firstColumn),
                                      static_cast<std::int32_t>(top + firstRow)),
                3);
    const InkTable::value_type* table = InkOn(under, ink).data();
    const std::size_t spanBytes = static_cast<std::size_t>(endColumn - firstColumn) * 3;
    for (std::int64_t row = firstRow; row < endRow; ++row) {
        std::uint8_t* p = PixelPointer(static_cast<std::int32_t>(left + firstColumn),
                                       static_cast<std::int32_t>(top + row));
        if (opaque) {
            FillSpan(p, spanBytes, paper);
        }
        // Most of a caption's box is blank, so blank coverage is skipped eight pixels at a
        // time; on the colour under the text the result comes from the table.
        const std::uint8_t* coverage =
            text.coverage.data() + static_cast<std::size_t>(row) * text.width;
        for (std::int64_t column = firstColumn; column < endColumn; ++column, p += 3) {
            if (std::uint64_t eight = 0; column + 8 <= endColumn) {
                std::memcpy(&eight, coverage + column, 8);
                if (eight == 0) {
                    column += 7;
                    p += 21;
                    continue;
                }
            }
            const unsigned c = coverage[column];
            if (c == 0) {
                continue;
            }
            if (p[0] == under[0] && p[1] == under[1] && p[2] == under[2]) {
                std::memcpy(p, table[c].data(), 3);
                continue;
            }
            for (int i = 0; i < 3; ++i) {
                p[i] = Blend(p[i], ink[i], c);
            }
        }
    }
}

}  // namespace qv::symbology
