// SPDX-License-Identifier: MIT
#include <qvbarcode/surface/CairoSurface.h>

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/surface/FreeTypeFont.h>
#include <qvbarcode/surface/LineSteps.h>
#include <qvbarcode/surface/TextPlacement.h>
#include <qvbarcode/surface/Windows1252.h>

namespace qv::surface {

// The caption face as cairo draws it, from the same file and at the same size as the font
// that measures and places its glyphs.
struct CairoSurface::Face {
    std::shared_ptr<const FreeTypeFont> font;
    cairo_font_face_t* cairoFace = nullptr;

    explicit Face(std::shared_ptr<const FreeTypeFont> measuring) : font(std::move(measuring)) {
        FcPattern* pattern = FcPatternCreate();
        if (pattern == nullptr) {
            throw host::FailedCall(host::FailureReason::OutOfMemory, "font pattern");
        }
        FcPatternAddString(pattern, FC_FILE,
                           reinterpret_cast<const FcChar8*>(font->path().c_str()));
        FcPatternAddInteger(pattern, FC_INDEX, font->faceIndex());
        cairoFace = cairo_ft_font_face_create_for_pattern(pattern);
        FcPatternDestroy(pattern);
        if (cairo_font_face_status(cairoFace) != CAIRO_STATUS_SUCCESS) {
            cairo_font_face_destroy(cairoFace);
            throw host::FailedCall(host::FailureReason::PlatformFailure,
                                   font->path() + ": cairo cannot use the font");
        }
    }
    ~Face() { cairo_font_face_destroy(cairoFace); }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
};

CairoSurface::CairoSurface(cairo_t* cr, Colour background) : cr_(cr), background_(background) {
    if (cr_ == nullptr) {
        throw host::FailedCall(host::FailureReason::InvalidValue, "no cairo context");
    }
    cairo_reference(cr_);
}

CairoSurface::~CairoSurface() {
    face_.reset();
    cairo_destroy(cr_);
}

void CairoSurface::SetFont(std::shared_ptr<const Font> font) {
    font_ = std::move(font);
    face_.reset();
}

const CairoSurface::Face& CairoSurface::TextFace() {
    if (!face_) {
        auto font = std::dynamic_pointer_cast<const FreeTypeFont>(font_ ? font_ : ControlFont());
        if (!font) {
            font = std::dynamic_pointer_cast<const FreeTypeFont>(ControlFont());
        }
        face_ = std::make_unique<Face>(std::move(font));
    }
    return *face_;
}

void CairoSurface::Fill(double left, double top, double right, double bottom, Colour colour) {
    // Cairo keeps coordinates in 24.8 fixed point: far-off ones would wrap, so the rectangle
    // is cut to what the clip can show first.
    double clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    cairo_clip_extents(cr_, &clipLeft, &clipTop, &clipRight, &clipBottom);
    left = std::max(left, std::floor(clipLeft));
    top = std::max(top, std::floor(clipTop));
    right = std::min(right, std::ceil(clipRight));
    bottom = std::min(bottom, std::ceil(clipBottom));
    if (left >= right || top >= bottom) {
        return;
    }
    cairo_save(cr_);
    cairo_set_source_rgb(cr_, RedOf(colour) / 255.0, GreenOf(colour) / 255.0,
                         BlueOf(colour) / 255.0);
    cairo_rectangle(cr_, left, top, right - left, bottom - top);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void CairoSurface::FillRect(const Rect& rect, Colour brushColour) {
    Fill(rect.left, rect.top, rect.right, rect.bottom, brushColour);
}

void CairoSurface::LineTo(std::int32_t x, std::int32_t y) {
    const std::int64_t x0 = penX_;
    const std::int64_t y0 = penY_;
    penX_ = x;
    penY_ = y;
    if (const auto pixels = AxisLineRect(x0, y0, x, y, pen_.width)) {
        FillRect(*pixels, pen_.colour);
        return;
    }
    // A slanted line: the raster surface's pixels, each a square of the pen's width.
    const std::int64_t size = std::max(pen_.width, 1);
    const std::int64_t half = pen_.width > 1 ? pen_.width / 2 : 0;
    ForEachLinePixel(x0, y0, x, y, [&](std::int64_t px, std::int64_t py) {
        Fill(static_cast<double>(px - half), static_cast<double>(py - half),
             static_cast<double>(px - half + size), static_cast<double>(py - half + size),
             pen_.colour);
    });
}

void CairoSurface::DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                               std::int32_t bottom) {
    if (left >= right) {
        return;
    }
    penX_ = right - 1;
    penY_ = bottom;
    // One rectangle for the run: the first column's pixels, widened to the last column.
    if (const auto column = AxisLineRect(left, top, left, bottom, pen_.width)) {
        Fill(column->left, column->top, static_cast<double>(column->right) + (right - 1 - left),
             column->bottom, pen_.colour);
    }
}

void CairoSurface::DrawNarrowedRuns(std::span<const ColumnRun> runs, double reduction,
                                    std::int32_t top, std::int32_t bottom) {
    for (const ColumnRun& run : runs) {
        const double left = run.left + reduction / 2.0, right = run.right - reduction / 2.0;
        const auto column = AxisLineRect(run.left, top, run.left, bottom, pen_.width);
        if (left < right && column) {
            Fill(left, column->top, right, column->bottom, pen_.colour);
        }
    }
    if (!runs.empty()) {
        penX_ = runs.back().right - 1;
        penY_ = bottom;
    }
}

void CairoSurface::DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) {
    const std::u16string text = DecodeWindows1252(windows1252Text);
    if (text.empty()) {
        return;
    }
    const Face& face = TextFace();
    // Placed as the raster surface places the same text: its cell is the advance rounded up
    // and the font's line height, the baseline at the font's ascent.
    const TextExtent extent = face.font->Measure(text);
    const auto width = static_cast<std::int64_t>(std::ceil(std::max(extent.width, 0.0f)));
    const std::int64_t height = face.font->lineHeight();
    const auto [left, top] = PlaceText(width, height, rect, format);

    cairo_save(cr_);
    cairo_rectangle(cr_, rect.left, rect.top, static_cast<double>(rect.right) - rect.left,
                    static_cast<double>(rect.bottom) - rect.top);
    cairo_clip(cr_);
    if (bkMode_ == kOpaque) {
        Fill(static_cast<double>(left), static_cast<double>(top), static_cast<double>(left + width),
             static_cast<double>(top + height), background_);
    }
    std::string utf8;
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    const double baseline = static_cast<double>(top + face.font->baseline());
    for (const PlacedGlyph& placed : face.font->Place(text)) {
        char bytes[U8_MAX_LENGTH];
        int length = 0;
        U8_APPEND_UNSAFE(bytes, length, placed.code);
        utf8.append(bytes, static_cast<std::size_t>(length));
        glyphs.push_back({placed.index, static_cast<double>(left) + placed.x, baseline});
        clusters.push_back({length, 1});
    }
    cairo_set_font_face(cr_, face.cairoFace);
    cairo_set_font_size(cr_, face.font->pixelSize());
    cairo_set_source_rgb(cr_, RedOf(textColour_) / 255.0, GreenOf(textColour_) / 255.0,
                         BlueOf(textColour_) / 255.0);
    cairo_show_text_glyphs(cr_, utf8.data(), static_cast<int>(utf8.size()), glyphs.data(),
                           static_cast<int>(glyphs.size()), clusters.data(),
                           static_cast<int>(clusters.size()), cairo_text_cluster_flags_t{});
    cairo_restore(cr_);
}

}  // namespace qv::surface
