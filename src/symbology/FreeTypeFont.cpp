#include "symbology/FreeTypeFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <unordered_map>
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

    // What a drawing needs of one glyph, loaded and rasterised once per face and size:
    // captions re-use the same few characters, and hinting and rasterising are the cost.
    struct Glyph {
        FT_UInt index = 0;
        bool loaded = false;
        FT_Pos advance = 0;
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t width = 0;
        std::int32_t rows = 0;
        std::vector<std::uint8_t> coverage;  // width * rows, tightly packed
    };
    std::unordered_map<char32_t, Glyph> glyphs;
    std::unordered_map<std::uint64_t, FT_Pos> kerning;

    const Glyph& GlyphFor(char32_t code) {
        if (const auto found = glyphs.find(code); found != glyphs.end()) {
            return found->second;
        }
        Glyph glyph;
        // Index 0 is the face's .notdef glyph, drawn for characters it lacks.
        glyph.index = FT_Get_Char_Index(face.get(), code);
        if (FT_Load_Glyph(face.get(), glyph.index, FT_LOAD_DEFAULT) == 0) {
            const FT_GlyphSlot slot = face->glyph;
            glyph.loaded = true;
            glyph.advance = slot->advance.x;
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
                slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                const FT_Bitmap& bitmap = slot->bitmap;
                glyph.left = slot->bitmap_left;
                glyph.top = slot->bitmap_top;
                glyph.width = static_cast<std::int32_t>(bitmap.width);
                glyph.rows = static_cast<std::int32_t>(bitmap.rows);
                glyph.coverage.resize(std::size_t{bitmap.width} * bitmap.rows);
                for (unsigned row = 0; row < bitmap.rows; ++row) {
                    std::copy_n(bitmap.buffer + std::int64_t{bitmap.pitch} * row, bitmap.width,
                                glyph.coverage.data() + std::size_t{row} * bitmap.width);
                }
            }
        }
        return glyphs.emplace(code, std::move(glyph)).first->second;
    }

    FT_Pos Kerning(FT_UInt previous, FT_UInt next) {
        const std::uint64_t key = (std::uint64_t{previous} << 32) | next;
        if (const auto found = kerning.find(key); found != kerning.end()) {
            return found->second;
        }
        FT_Vector delta{};
        const FT_Error error =
            FT_Get_Kerning(face.get(), previous, next, FT_KERNING_DEFAULT, &delta);
        return kerning.emplace(key, error == 0 ? delta.x : 0).first->second;
    }

    // Walks the text glyph by glyph, the pen position in 26.6 pixels given to each.
    template <typename Visit>
    FT_Pos Layout(std::u16string_view text, Visit visit) {
        FT_Pos pen = 0;
        FT_UInt previous = 0;
        const bool hasKerning = FT_HAS_KERNING(face.get());
        for (const char32_t code : CodePoints(text)) {
            const Glyph& glyph = GlyphFor(code);
            if (hasKerning && previous != 0 && glyph.index != 0) {
                pen += Kerning(previous, glyph.index);
            }
            if (!glyph.loaded) {
                continue;
            }
            visit(pen, glyph);
            pen += glyph.advance;
            previous = glyph.index;
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
    const FT_Pos width = face_->Layout(text, [](FT_Pos, const Face::Glyph&) {});
    return {static_cast<float>(width) / 64.0f, static_cast<float>(lineHeight_)};
}

RenderedText FreeTypeFont::Render(std::u16string_view text) const {
    const std::lock_guard guard(lock_);
    RenderedText result;
    const FT_Pos width = face_->Layout(text, [](FT_Pos, const Face::Glyph&) {});
    result.width = static_cast<std::int32_t>((std::max<FT_Pos>(width, 0) + 63) / 64);
    result.height = lineHeight_;
    result.coverage.assign(
        static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height), 0);
    face_->Layout(text, [&](FT_Pos pen, const Face::Glyph& glyph) {
        const std::int64_t left = (pen + 32) / 64 + glyph.left;
        const std::int64_t top = std::int64_t{baseline_} - glyph.top;
        // Only the part of the glyph inside the line is copied.
        const std::int64_t firstColumn = std::max<std::int64_t>(0, -left);
        const std::int64_t endColumn =
            std::min<std::int64_t>(glyph.width, std::int64_t{result.width} - left);
        for (std::int32_t row = 0; row < glyph.rows; ++row) {
            const std::int64_t y = top + row;
            if (y < 0 || y >= result.height) {
                continue;
            }
            const std::uint8_t* source =
                glyph.coverage.data() + static_cast<std::size_t>(row) * glyph.width;
            std::uint8_t* target = result.coverage.data() + y * result.width + left;
            for (std::int64_t column = firstColumn; column < endColumn; ++column) {
                // Overlapping glyphs keep the darker coverage instead of adding up past ink.
                target[column] = std::max(target[column], source[column]);
            }
        }
    });
    return result;
}

}  // namespace qv::symbology
