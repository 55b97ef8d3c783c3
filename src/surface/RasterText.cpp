// SPDX-License-Identifier: MIT
// Text on a raster surface: the font's coverage blended over the pixels in the text colour.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <qvbarcode/surface/RasterSurface.h>
#include <qvbarcode/surface/TextPlacement.h>
#include <qvbarcode/surface/Windows1252.h>

namespace qv::surface {

namespace {

// Ink laid with coverage c (0 to 255) over a colour, rounded to the nearest level.
std::uint8_t Blend(unsigned under, unsigned ink, unsigned c) {
    return static_cast<std::uint8_t>((under * (255 - c) + ink * c + 127) / 255);
}

// Every coverage's colour for one ink on one colour, four bytes per entry so that a pixel
// is one store (the fourth byte is overwritten by the next pixel). A caption has a few
// thousand pixels, and the pair of colours seldom changes between drawings.
using InkTable = std::array<std::array<std::uint8_t, 4>, 256>;
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

// A row of text over one colour: every pixel's colour is its coverage's table entry.
void PaintRow(std::uint8_t* p, const std::uint8_t* coverage, std::size_t count,
              const InkTable& table) {
    for (std::size_t i = 0; i + 1 < count; ++i, p += 3) {
        std::memcpy(p, table[coverage[i]].data(), 4);
    }
    std::memcpy(p, table[coverage[count - 1]].data(), 3);
}

// A row of text over mixed pixels: those showing the colour the table was made for take
// its entry, others are blended one by one. Blank coverage is skipped eight at a time.
void BlendRow(std::uint8_t* p, const std::uint8_t* coverage, std::size_t count,
              const std::uint8_t (&under)[3], const std::uint8_t (&ink)[3], const InkTable& table) {
    for (std::size_t i = 0; i < count; ++i, p += 3) {
        if (std::uint64_t eight = 0; i + 8 <= count) {
            std::memcpy(&eight, coverage + i, 8);
            if (eight == 0) {
                i += 7;
                p += 21;
                continue;
            }
        }
        const unsigned c = coverage[i];
        if (c == 0) {
            continue;
        }
        if (p[0] == under[0] && p[1] == under[1] && p[2] == under[2]) {
            std::memcpy(p, table[c].data(), 3);
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            p[k] = Blend(p[k], ink[k], c);
        }
    }
}

// Texts larger than this are rendered afresh at every drawing rather than kept: a caption
// is a few thousand pixels, and what a surface holds on to stays small.
constexpr std::size_t kKeptTextPixels = std::size_t{1} << 16;

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

// Everything that decides the text's pixels is its key: the font object (fonts do not
// change once made, and the entry holds it alive), the text, and for the painted rows the
// colour under the text and the ink.
struct RasterSurface::TextPainting {
    std::shared_ptr<const Font> font;
    std::string text;
    RenderedText rendered;
    // Whether this text was drawn before: it is painted only when drawn again, so a text
    // drawn once costs no more than without keeping it.
    bool drawn = false;
    std::array<std::uint8_t, 6> colours{};
    // The whole text painted over colours[0..2] in colours[3..5], 3 bytes a pixel, row by
    // row; empty until a drawing over one colour asks for it.
    std::vector<std::uint8_t> painted;

    const std::uint8_t* PaintedOver(const std::uint8_t (&under)[3], const std::uint8_t (&ink)[3],
                                    const InkTable& table) {
        const std::array<std::uint8_t, 6> wanted{under[0], under[1], under[2],
                                                 ink[0],   ink[1],   ink[2]};
        if (painted.empty() || colours != wanted) {
            painted.resize(rendered.coverage.size() * 3);
            if (!painted.empty()) {
                PaintRow(painted.data(), rendered.coverage.data(), rendered.coverage.size(), table);
            }
            colours = wanted;
        }
        return painted.data();
    }
};

std::shared_ptr<RasterSurface::TextPainting> RasterSurface::PaintingOf(
    std::string_view windows1252Text) {
    if (!font_) {
        font_ = ControlFont();
    }
    if (lastText_ && lastText_->font == font_ && lastText_->text == windows1252Text) {
        return lastText_;
    }
    auto painting = std::make_shared<TextPainting>();
    painting->font = font_;
    painting->text = windows1252Text;
    painting->rendered = font_->Render(DecodeWindows1252(windows1252Text));
    if (painting->rendered.coverage.size() <= kKeptTextPixels) {
        lastText_ = painting;
    }
    return painting;
}

void RasterSurface::DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) {
    const std::shared_ptr<TextPainting> painting = PaintingOf(windows1252Text);
    const RenderedText& text = painting->rendered;
    const auto [left, top] = PlaceText(text.width, text.height, rect, format);
    const Rect clip{std::max(0, rect.left), std::max(0, rect.top), std::min(width(), rect.right),
                    std::min(height(), rect.bottom)};
    // The clipped part of the text, walked row by row through pixel pointers.
    const std::int64_t firstColumn = std::max<std::int64_t>(0, clip.left - left);
    const std::int64_t endColumn = std::min<std::int64_t>(text.width, clip.right - left);
    const std::int64_t firstRow = std::max<std::int64_t>(0, clip.top - top);
    const std::int64_t endRow = std::min<std::int64_t>(text.height, clip.bottom - top);
    if (firstColumn >= endColumn || firstRow >= endRow) {
        return;
    }
    const Rect drawn{
        static_cast<std::int32_t>(left + firstColumn), static_cast<std::int32_t>(top + firstRow),
        static_cast<std::int32_t>(left + endColumn), static_cast<std::int32_t>(top + endRow)};
    const std::uint8_t paper[3] = {RedOf(background_), GreenOf(background_), BlueOf(background_)};
    const std::uint8_t ink[3] = {RedOf(textColour_), GreenOf(textColour_), BlueOf(textColour_)};
    // Opaque text lies on the paper, and transparent text inside a known solid rectangle
    // (a caption box's fill) on that colour: either way a pixel's colour comes from its
    // coverage alone. Otherwise the table serves the colour under the top-left pixel.
    const bool opaque = bkMode_ == kOpaque;
    const bool onSolid = !opaque && solid_ && Inside(drawn, solid_->rect);
    std::uint8_t under[3];
    if (opaque) {
        std::memcpy(under, paper, 3);
    } else if (onSolid) {
        under[0] = RedOf(solid_->colour);
        under[1] = GreenOf(solid_->colour);
        under[2] = BlueOf(solid_->colour);
    } else {
        std::memcpy(under, PixelPointer(drawn.left, drawn.top), 3);
    }
    Touched();
    const InkTable& table = InkOn(under, ink);
    std::int64_t paintLeft = firstColumn, paintRight = endColumn;
    std::int64_t paintTop = firstRow, paintBottom = endRow;
    if (onSolid) {
        // Blank coverage leaves the solid colour as it is: only the inked box is painted.
        paintLeft = std::max<std::int64_t>(paintLeft, text.inkLeft);
        paintRight = std::min<std::int64_t>(paintRight, text.inkRight);
        paintTop = std::max<std::int64_t>(paintTop, text.inkTop);
        paintBottom = std::min<std::int64_t>(paintBottom, text.inkBottom);
    }
    if (paintLeft >= paintRight) {
        return;
    }
    const auto count = static_cast<std::size_t>(paintRight - paintLeft);
    // Over one colour a kept text's rows are painted at its second drawing and copied from
    // then on.
    const bool again = std::exchange(painting->drawn, true);
    const std::uint8_t* painted = (opaque || onSolid) && again && painting == lastText_
                                      ? painting->PaintedOver(under, ink, table)
                                      : nullptr;
    for (std::int64_t row = paintTop; row < paintBottom; ++row) {
        std::uint8_t* p = PixelPointer(static_cast<std::int32_t>(left + paintLeft),
                                       static_cast<std::int32_t>(top + row));
        const std::size_t offset = static_cast<std::size_t>(row) * text.width + paintLeft;
        if (painted) {
            std::memcpy(p, painted + offset * 3, count * 3);
        } else if (opaque || onSolid) {
            PaintRow(p, text.coverage.data() + offset, count, table);
        } else {
            BlendRow(p, text.coverage.data() + offset, count, under, ink, table);
        }
    }
}

}  // namespace qv::surface
