// SPDX-License-Identifier: MIT
#include <qvbarcode/surface/FreeTypeFont.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>

#include <qvbarcode/host/FailedCall.h>

namespace qv::surface {

using host::FailedCall;
using host::FailureReason;

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

// Calls visit with each code point of UTF-16 text; a lone surrogate gets no glyph of its
// own, so the fallback shows.
template <typename Visit>
void ForEachCodePoint(std::u16string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            visit(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            visit(unit);
        }
    }
}

// Pairs of characters below this have their kerning in a flat table: captions are digits
// and ASCII letters, and a hash lookup per pair costs more than drawing the pair.
constexpr char32_t kFlatKerningCodes = 128;
constexpr std::int32_t kUnknownKerning = INT32_MIN;

constexpr std::size_t kWord = 8;

// Overlapping glyphs keep the darker coverage instead of adding up past ink; eight bytes at
// a time, which compilers turn into one vector maximum.
void MergeWord(std::uint8_t* target, const std::uint8_t* source) {
    std::uint8_t a[kWord];
    std::uint8_t b[kWord];
    std::memcpy(a, target, kWord);
    std::memcpy(b, source, kWord);
    for (std::size_t i = 0; i < kWord; ++i) {
        a[i] = std::max(a[i], b[i]);
    }
    std::memcpy(target, a, kWord);
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
        // rows of stride bytes, stride the width rounded up to whole 8-byte words, zero
        // past the width: a row is merged into a line a word at a time.
        std::int32_t stride = 0;
        std::vector<std::uint8_t> coverage;
    };
    // Node-based, so the pointers of the Latin-1 table stay valid as it grows.
    std::unordered_map<char32_t, Glyph> glyphs;
    std::array<const Glyph*, 256> latin1{};
    std::unordered_map<std::uint64_t, FT_Pos> kerning;
    std::vector<std::int32_t> flatKerning;  // by code pair, kUnknownKerning until asked

    const Glyph& GlyphFor(char32_t code) {
        if (code < latin1.size() && latin1[code]) {
            return *latin1[code];
        }
        const Glyph& glyph = LoadGlyph(code);
        if (code < latin1.size()) {
            latin1[code] = &glyph;
        }
        return glyph;
    }

    const Glyph& LoadGlyph(char32_t code) {
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
                glyph.stride =
                    static_cast<std::int32_t>((bitmap.width + kWord - 1) / kWord * kWord);
                glyph.coverage.resize(std::size_t{bitmap.rows} * glyph.stride);
                for (unsigned row = 0; row < bitmap.rows; ++row) {
                    std::copy_n(bitmap.buffer + std::int64_t{bitmap.pitch} * row, bitmap.width,
                                glyph.coverage.data() + std::size_t{row} * glyph.stride);
                }
            }
        }
        return glyphs.emplace(code, std::move(glyph)).first->second;
    }

    FT_Pos Kerning(char32_t previousCode, FT_UInt previous, char32_t code, FT_UInt next) {
        if (previousCode < kFlatKerningCodes && code < kFlatKerningCodes) {
            if (flatKerning.empty()) {
                flatKerning.assign(kFlatKerningCodes * kFlatKerningCodes, kUnknownKerning);
            }
            std::int32_t& known = flatKerning[previousCode * kFlatKerningCodes + code];
            if (known == kUnknownKerning) {
                // 26.6 kerning of a face at most 4096 pixels high fits in 32 bits.
                known = static_cast<std::int32_t>(KerningOf(previous, next));
            }
            return known;
        }
        const std::uint64_t key = (std::uint64_t{previous} << 32) | next;
        if (const auto found = kerning.find(key); found != kerning.end()) {
            return found->second;
        }
        return kerning.emplace(key, KerningOf(previous, next)).first->second;
    }

    FT_Pos KerningOf(FT_UInt previous, FT_UInt next) {
        FT_Vector delta{};
        const FT_Error error =
            FT_Get_Kerning(face.get(), previous, next, FT_KERNING_DEFAULT, &delta);
        return error == 0 ? delta.x : 0;
    }

    // Walks the text glyph by glyph, the pen position in 26.6 pixels and the code point given
    // to each.
    template <typename Visit>
    FT_Pos Layout(std::u16string_view text, Visit visit) {
        FT_Pos pen = 0;
        FT_UInt previous = 0;
        char32_t previousCode = 0;
        const bool hasKerning = FT_HAS_KERNING(face.get());
        ForEachCodePoint(text, [&](char32_t code) {
            const Glyph& glyph = GlyphFor(code);
            if (hasKerning && previous != 0 && glyph.index != 0) {
                pen += Kerning(previousCode, previous, code, glyph.index);
            }
            if (!glyph.loaded) {
                return;
            }
            visit(pen, glyph, code);
            pen += glyph.advance;
            previous = glyph.index;
            previousCode = code;
        });
        return pen;
    }
};

FreeTypeFont::FreeTypeFont(const std::string& path, int faceIndex, float pixelSize)
    : path_(path), faceIndex_(faceIndex), pixelSize_(pixelSize), face_(std::make_unique<Face>()) {
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
    const FT_Pos width = face_->Layout(text, [](FT_Pos, const Face::Glyph&, char32_t) {});
    return {static_cast<float>(width) / 64.0f, static_cast<float>(lineHeight_)};
}

std::vector<PlacedGlyph> FreeTypeFont::Place(std::u16string_view text) const {
    const std::lock_guard guard(lock_);
    std::vector<PlacedGlyph> placed;
    placed.reserve(text.size());
    face_->Layout(text, [&](FT_Pos pen, const Face::Glyph& glyph, char32_t code) {
        placed.push_back({code, glyph.index, static_cast<double>(pen) / 64.0});
    });
    return placed;
}

RenderedText FreeTypeFont::Render(std::u16string_view text) const {
    const std::lock_guard guard(lock_);
    RenderedText result;
    struct Placed {
        FT_Pos pen;
        const Face::Glyph* glyph;
    };
    std::vector<Placed> placed;
    placed.reserve(text.size());
    const FT_Pos width = face_->Layout(text, [&](FT_Pos pen, const Face::Glyph& glyph, char32_t) {
        placed.push_back({pen, &glyph});
    });
    result.width = static_cast<std::int32_t>((std::max<FT_Pos>(width, 0) + 63) / 64);
    result.height = lineHeight_;
    const std::size_t size =
        static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height);
    result.coverage.assign(size + kWord, 0);
    std::int64_t inkLeft = result.width, inkTop = result.height, inkRight = 0, inkBottom = 0;
    for (const auto& [pen, glyph] : placed) {
        const std::int64_t left = (pen + 32) / 64 + glyph->left;
        const std::int64_t top = std::int64_t{baseline_} - glyph->top;
        // Only the part of the glyph inside the line is copied.
        const std::int64_t firstColumn = std::max<std::int64_t>(0, -left);
        const std::int64_t endColumn =
            std::min<std::int64_t>(glyph->width, std::int64_t{result.width} - left);
        const std::int64_t firstRow = std::max<std::int64_t>(0, -top);
        const std::int64_t endRow =
            std::min<std::int64_t>(glyph->rows, std::int64_t{result.height} - top);
        if (firstColumn >= endColumn || firstRow >= endRow) {
            continue;
        }
        inkLeft = std::min(inkLeft, left + firstColumn);
        inkRight = std::max(inkRight, left + endColumn);
        inkTop = std::min(inkTop, top + firstRow);
        inkBottom = std::max(inkBottom, top + endRow);
        // A glyph inside the line's width is merged in whole words: the zero padding leaves
        // what lies past the glyph as it was, and the line has a word of slack at its end.
        const bool wholeWords = firstColumn == 0 && endColumn == glyph->width;
        for (std::int64_t row = firstRow; row < endRow; ++row) {
            const std::uint8_t* source =
                glyph->coverage.data() + static_cast<std::size_t>(row) * glyph->stride;
            std::uint8_t* target = result.coverage.data() + (top + row) * result.width + left;
            if (wholeWords) {
                for (std::size_t column = 0; column < static_cast<std::size_t>(glyph->stride);
                     column += kWord) {
                    MergeWord(target + column, source + column);
                }
                continue;
            }
            for (std::int64_t column = firstColumn; column < endColumn; ++column) {
                target[column] = std::max(target[column], source[column]);
            }
        }
    }
    result.coverage.resize(size);
    if (inkLeft < inkRight && inkTop < inkBottom) {
        result.inkLeft = static_cast<std::int32_t>(inkLeft);
        result.inkTop = static_cast<std::int32_t>(inkTop);
        result.inkRight = static_cast<std::int32_t>(inkRight);
        result.inkBottom = static_cast<std::int32_t>(inkBottom);
    }
    return result;
}

}  // namespace qv::surface
