// SPDX-License-Identifier: MIT
#include "drawing/LabelRecording.h"

#include <algorithm>
#include <cmath>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/surface/Font.h>
#include <qvbarcode/surface/LineSteps.h>
#include <qvbarcode/surface/TextPlacement.h>
#include <qvbarcode/surface/Windows1252.h>

namespace qv::cli {

LabelRecording::LabelRecording(std::int32_t width, std::int32_t height, std::int32_t originX)
    : width_(width), height_(height), originX_(originX) {
    fills_.push_back(
        {0, 0, static_cast<double>(width), static_cast<double>(height), surface::kWhite});
}

// Cut to the drawing, as a cairo recording of its size cuts it.
void LabelRecording::Fill(double left, double top, double right, double bottom,
                          surface::Colour colour) {
    left = std::max(left + originX_, 0.0);
    right = std::min(right + originX_, static_cast<double>(width_));
    top = std::max(top, 0.0);
    bottom = std::min(bottom, static_cast<double>(height_));
    if (left >= right || top >= bottom) return;
    // The control's background over the recording's own white adds nothing.
    if (!fills_.empty() && (textsAfter_.empty() || textsAfter_.back() < fills_.size())) {
        const RecordedFill& last = fills_.back();
        if (last.left == left && last.top == top && last.right == right && last.bottom == bottom &&
            last.colour == colour) {
            return;
        }
    }
    fills_.push_back({left, top, right, bottom, colour});
}

void LabelRecording::FillRect(const surface::Rect& rect, surface::Colour brushColour) {
    Fill(rect.left, rect.top, rect.right, rect.bottom, brushColour);
}

void LabelRecording::LineTo(std::int32_t x, std::int32_t y) {
    const std::int64_t x0 = penX_;
    const std::int64_t y0 = penY_;
    penX_ = x;
    penY_ = y;
    if (const auto pixels = surface::AxisLineRect(x0, y0, x, y, pen_.width)) {
        FillRect(*pixels, pen_.colour);
        return;
    }
    const std::int64_t size = std::max(pen_.width, 1);
    const std::int64_t half = pen_.width > 1 ? pen_.width / 2 : 0;
    surface::ForEachLinePixel(x0, y0, x, y, [&](std::int64_t px, std::int64_t py) {
        Fill(static_cast<double>(px - half), static_cast<double>(py - half),
             static_cast<double>(px - half + size), static_cast<double>(py - half + size),
             pen_.colour);
    });
}

void LabelRecording::DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                                 std::int32_t bottom) {
    if (left >= right) return;
    penX_ = right - 1;
    penY_ = bottom;
    if (const auto column = surface::AxisLineRect(left, top, left, bottom, pen_.width)) {
        Fill(column->left, column->top, static_cast<double>(column->right) + (right - 1 - left),
             column->bottom, pen_.colour);
    }
}

void LabelRecording::DrawNarrowedRuns(std::span<const surface::ColumnRun> runs, double reduction,
                                      std::int32_t top, std::int32_t bottom) {
    for (const surface::ColumnRun& run : runs) {
        const double left = run.left + reduction / 2.0, right = run.right - reduction / 2.0;
        const auto column = surface::AxisLineRect(run.left, top, run.left, bottom, pen_.width);
        if (left < right && column) Fill(left, column->top, right, column->bottom, pen_.colour);
    }
    if (!runs.empty()) {
        penX_ = runs.back().right - 1;
        penY_ = bottom;
    }
}

// Placed as the cairo surface places it: the cell is the advance rounded up and the font's
// line height, the baseline at its ascent; an opaque background fills the cell first.
void LabelRecording::DrawText(std::string_view windows1252Text, const surface::Rect& rect,
                              unsigned format) {
    const std::u16string text = surface::DecodeWindows1252(windows1252Text);
    if (text.empty()) return;
    auto font = std::dynamic_pointer_cast<const surface::FreeTypeFont>(
        font_ ? font_ : surface::ControlFont());
    if (!font)
        font = std::dynamic_pointer_cast<const surface::FreeTypeFont>(surface::ControlFont());
    const surface::TextExtent extent = font->Measure(text);
    const auto width = static_cast<std::int64_t>(std::ceil(std::max(extent.width, 0.0f)));
    const std::int64_t height = font->lineHeight();
    const auto [left, top] = surface::PlaceText(width, height, rect, format);
    if (bkMode() == surface::kOpaque) {
        // Cut to the text's rectangle, as its clip cuts it.
        Fill(static_cast<double>(std::max<std::int64_t>(left, rect.left)),
             static_cast<double>(std::max<std::int64_t>(top, rect.top)),
             static_cast<double>(std::min<std::int64_t>(left + width, rect.right)),
             static_cast<double>(std::min<std::int64_t>(top + height, rect.bottom)),
             surface::kWhite);
    }
    RecordedText recorded{
        font,
        font->Place(text),
        static_cast<double>(top + font->baseline()),
        surface::kBlack,
        {static_cast<double>(rect.left) + originX_, static_cast<double>(rect.top),
         static_cast<double>(rect.right) + originX_, static_cast<double>(rect.bottom)}};
    for (surface::PlacedGlyph& glyph : recorded.glyphs)
        glyph.x += static_cast<double>(left) + originX_;
    texts_.push_back(std::move(recorded));
    textsAfter_.push_back(fills_.size());
}

const std::vector<std::string>& LabelRecording::Operators() const {
    if (operators_.size() != texts_.size() + 1) {
        throw host::FailedCall(host::FailureReason::InvalidValue,
                               "a label's drawing was used before it was sealed");
    }
    return operators_;
}

void LabelRecording::Seal() {
    operators_.assign(texts_.size() + 1, {});
    std::size_t next = 0;
    for (std::size_t piece = 0; piece < operators_.size(); ++piece) {
        std::string& out = operators_[piece];
        const std::size_t end = piece < texts_.size() ? textsAfter_[piece] : fills_.size();
        std::int64_t colour = -1;  // none set yet in this piece
        for (; next < end; ++next) {
            // A line at a time: appending each number would cost more than writing it.
            char line[8 * (kPdfNumberSize + 1)];
            char* at = line;
            const auto put = [&at](double value) {
                at = PutPdfNumber(at, value);
                *at++ = ' ';
            };
            const RecordedFill& f = fills_[next];
            if (colour != std::int64_t{f.colour}) {
                put(surface::RedOf(f.colour) / 255.0);
                put(surface::GreenOf(f.colour) / 255.0);
                put(surface::BlueOf(f.colour) / 255.0);
                at = std::copy_n("rg\n", 3, at);
                colour = f.colour;
            }
            put(f.left);
            put(f.top);
            put(f.right - f.left);
            put(f.bottom - f.top);
            at = std::copy_n("re f\n", 5, at);
            out.append(line, at);
        }
    }
}

}  // namespace qv::cli
