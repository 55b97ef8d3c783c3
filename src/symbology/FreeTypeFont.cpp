#include "symbology/FreeTypeFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <vector>

#include "component/FailedCall.h"

namespace qv::symbology {

using component::FailedCall;
using component::FailureReason;

namespace {

struct LibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryHandle = std::unique_ptr<FT_LibraryRec_, LibraryCloser>;
using FaceHandle = std::unique_ptr<FT_FaceRec_, FaceCloser>;

[[noreturn]] void Fail(const std::string& path, const char* what) {
    throw FailedCall(FailureReason::PlatformFailure, path + ": " + what);
}

// UTF-16 to code points; a lone surrogate gets no glyph of its own, so the fallback shows.
std::vector<char32_t> CodePoints(std::u16string_view text) {
    std::vector<char32_t> result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            result.push_back(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            result.push_back(unit);
        }
    }
    return result;
}

}  // namespace

struct FreeTypeFont::Face {
    LibraryHandle library;
    FaceHandle face;

    // Walks the text glyph by glyph, the pen position in 26.6 pixels given to each.
    template <typename Visit>
    FT_Pos Layout(std::u16string_view text, FT_Int32 loadFlags, Visit visit) const {
        FT_Pos pen = 0;
        FT_UInt previous = 0;
        const bool kerning = FT_HAS_KERNING(face.get());
        for (const char32_t code : CodePoints(text)) {
            // Index 0 is the face's .notdef glyph, drawn for characters it lacks.
            const FT_UInt glyph = FT_Get_Char_Index(face.get(), code);
            if (kerning && previous != 0 && glyph != 0) {
                FT_Vector delta{};
                if (FT_Get_Kerning(face.get(), previous, glyph, FT_KERNING_DEFAULT, &delta) == 0) {
                    pen += delta.x;
                }
            }
            if (FT_Load_Glyph(face.get(), glyph, loadFlags) != 0) {
                continue;
            }
            visit(pen, face->glyph);
            pen += face->glyph->advance.x;
            previous = glyph;
        }
        return pen;
    }
};

FreeTypeFont::FreeTypeFont(const std::string& path, int faceIndex, float pixelSize)
    : path_(path), face_(std::make_unique<Face>()) {
    if (!(pixelSize > 0.0f) || !std::isfinite(pixelSize) || pixelSize > 4096.0f) {
        throw FailedCall(FailureReason::InvalidValue, "font size must be a positive pixel size");
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        Fail(path, "FreeType does not start");
    }
    face_->library.reset(library);
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), faceIndex, &face) != 0) {
        Fail(path, "not a readable font file");
    }
    face_->face.reset(face);
    if (!FT_IS_SCALABLE(face)) {
        Fail(path, "not a scalable font");
    }
    // 72 dpi makes one point one pixel, so fractional pixel sizes keep their precision.
    const auto size = static_cast<FT_F26Dot6>(std::lround(pixelSize * 64.0f));
    if (FT_Set_Char_Size(face, 0, size, 72, 72) != 0) {
        Fail(path, "font size not accepted");
    }
    // Design units scaled without FreeType's per-metric rounding: the line is exactly as
    // tall as the face needs, rounded up once.
    const double unitsPerPixel = face->units_per_EM / static_cast<double>(pixelSize);
    const double ascender = face->ascender / unitsPerPixel;
    const double descender = face->descender / unitsPerPixel;
    lineHeight_ = static_cast<std::int32_t>(std::ceil(ascender - descender - 1e-6));
    baseline_ = static_cast<std::int32_t>(std::lround(ascender));
}

FreeTypeFont::~FreeTypeFont() = default;

TextExtent FreeTypeFont::Measure(std::u16string_view text) const {
    const std::lock_guard guard(lock_);
    const FT_Pos width = face_->Layout(text, FT_LOAD_DEFAULT, [](FT_Pos, FT_GlyphSlot) {});
    return {static_cast<float>(width) / 64.0f, static_cast<float>(lineHeight_)};
}

RenderedText FreeTypeFont::Render(std::u16string_view text) const {
    const std::lock_guard guard(lock_);
    RenderedText result;
    const FT_Pos width = face_->Layout(text, FT_LOAD_DEFAULT, [](FT_Pos, FT_GlyphSlot) {});
    result.width = static_cast<std::int32_t>((std::max<FT_Pos>(width, 0) + 63) / 64);
    result.height = lineHeight_;
    result.coverage.assign(
        static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height), 0);
    face_->Layout(text, FT_LOAD_DEFAULT, [&](FT_Pos pen, FT_GlyphSlot slot) {
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 ||
            slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
            return;
        }
        const FT_Bitmap& bitmap = slot->bitmap;
        const std::int64_t left = (pen + 32) / 64 + slot->bitmap_left;
        const std::int64_t top = std::int64_t{baseline_} - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const std::int64_t y = top + row;
            if (y < 0 || y >= result.height) {
                continue;
            }
            const unsigned char* source = bitmap.buffer + std::int64_t{bitmap.pitch} * row;
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const std::int64_t x = left + column;
                if (x < 0 || x >= result.width) {
                    continue;
                }
                std::uint8_t& cell =
                    result.coverage[static_cast<std::size_t>(y * result.width + x)];
                // Overlapping glyphs keep the darker coverage instead of adding up past ink.
                cell = std::max<std::uint8_t>(cell, source[column]);
            }
        }
    });
    return result;
}

}  // namespace qv::symbology
