// SPDX-License-Identifier: MIT
#include "drawing/OutlineFont.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include <qvbarcode/host/FailedCall.h>

namespace qv::cli {

namespace {

constexpr double kUnitsPerEm = 1000;

}  // namespace

char* PutPdfNumber(char* at, double value) {
    if (!std::isfinite(value)) value = 0;
    // Most are a label's pixels, small whole numbers: copied from a table of them.
    static const auto kSmall = [] {
        std::array<std::array<char, 4>, 1000> table{};
        for (unsigned n = 0; n < table.size(); ++n) {
            const auto end = std::to_chars(table[n].data(), table[n].data() + 3, n).ptr;
            table[n][3] = static_cast<char>(end - table[n].data());
        }
        return table;
    }();
    if (value >= 0 && value < 1000) {
        const auto whole = static_cast<unsigned>(value);
        if (static_cast<double>(whole) == value) {
            return std::copy_n(kSmall[whole].data(), kSmall[whole][3], at);
        }
    }
    if (std::abs(value) < 1e12 && value == std::floor(value)) {
        return std::to_chars(at, at + kPdfNumberSize, static_cast<long long>(value)).ptr;
    }
    char* end = std::to_chars(at, at + kPdfNumberSize, value, std::chars_format::fixed, 4).ptr;
    while (end[-1] == '0') --end;
    if (end[-1] == '.') --end;
    if (end - at == 2 && at[0] == '-' && at[1] == '0') {
        *at = '0';
        return at + 1;
    }
    return end;
}

void AppendPdfNumber(std::string& out, double value) {
    char text[kPdfNumberSize];
    out.append(text, PutPdfNumber(text, value));
}

OutlineFont::OutlineFont(const std::string& path, int faceIndex) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) {
        throw host::FailedCall(host::FailureReason::OutOfMemory, "font pattern");
    }
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(path.c_str()));
    FcPatternAddInteger(pattern, FC_INDEX, faceIndex);
    face_ = cairo_ft_font_face_create_for_pattern(pattern);
    FcPatternDestroy(pattern);
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, kUnitsPerEm, kUnitsPerEm);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    font_ = cairo_scaled_font_create(face_, &size, &identity, options);
    cairo_font_options_destroy(options);
    scratch_ = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
    cr_ = cairo_create(scratch_);
    cairo_set_scaled_font(cr_, font_);
    if (cairo_scaled_font_status(font_) != CAIRO_STATUS_SUCCESS ||
        cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        Release();
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               path + ": cairo cannot use the font");
    }
    name_ = "Caption";
    if (FT_Face face = cairo_ft_scaled_font_lock_face(font_)) {
        if (const char* name = FT_Get_Postscript_Name(face)) {
            std::string clean;
            for (const char* c = name; *c != '\0'; ++c) {
                if (std::isalnum(static_cast<unsigned char>(*c)) || *c == '-') clean += *c;
            }
            if (!clean.empty()) name_ = clean;
        }
        cairo_ft_scaled_font_unlock_face(font_);
    }
}

OutlineFont::~OutlineFont() {
    Release();
}

void OutlineFont::Release() {
    cairo_destroy(cr_);
    cr_ = nullptr;
    cairo_surface_destroy(scratch_);
    scratch_ = nullptr;
    cairo_scaled_font_destroy(font_);
    font_ = nullptr;
    cairo_font_face_destroy(face_);
    face_ = nullptr;
}

GlyphOutline OutlineFont::Outline(std::uint32_t index) const {
    GlyphOutline outline;
    const cairo_glyph_t glyph{index, 0, 0};
    cairo_text_extents_t extents;
    cairo_scaled_font_glyph_extents(font_, &glyph, 1, &extents);
    outline.advance = extents.x_advance;
    outline.box = {std::floor(extents.x_bearing), std::floor(-(extents.y_bearing + extents.height)),
                   std::ceil(extents.x_bearing + extents.width), std::ceil(-extents.y_bearing)};
    cairo_new_path(cr_);
    cairo_glyph_path(cr_, &glyph, 1);
    cairo_path_t* path = cairo_copy_path(cr_);
    std::string& out = outline.path;
    const auto point = [&out](const cairo_path_data_t& p) {
        // A tenth of a thousandth of an em is finer than any printer's dot.
        AppendPdfNumber(out, std::round(p.point.x * 10) / 10);
        out += ' ';
        AppendPdfNumber(out, std::round(-p.point.y * 10) / 10);  // y up
        out += ' ';
    };
    for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
        const cairo_path_data_t* data = &path->data[i];
        switch (data->header.type) {
            case CAIRO_PATH_MOVE_TO:
                point(data[1]);
                out += "m\n";
                break;
            case CAIRO_PATH_LINE_TO:
                point(data[1]);
                out += "l\n";
                break;
            case CAIRO_PATH_CURVE_TO:
                point(data[1]);
                point(data[2]);
                point(data[3]);
                out += "c\n";
                break;
            case CAIRO_PATH_CLOSE_PATH:
                out += "h\n";
                break;
        }
    }
    cairo_path_destroy(path);
    if (!out.empty()) out += "f\n";
    return outline;
}

}  // namespace qv::cli
