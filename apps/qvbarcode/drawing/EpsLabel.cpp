// SPDX-License-Identifier: MIT
#include "drawing/EpsLabel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <qvbarcode/imagefile/DocumentDate.h>

namespace qv::cli {

namespace {

// The prolog's names for the operators the content and the glyphs use, as a PDF writes them.
constexpr std::string_view kProlog =
    "%%BeginProlog\n/qvdict 12 dict def\nqvdict begin\n/m { moveto } bind def\n"
    "/l { lineto } bind def\n/c { curveto } bind def\n/h { closepath } bind def\n"
    "/f { fill } bind def\n/rg { setrgbcolor } bind def\n/re { exch dup neg 3 1 roll 5 3 roll "
    "moveto 0 rlineto\n      0 exch rlineto 0 rlineto closepath } bind def\nend\n"
    "%%EndProlog\n";

void AppendNumbers(std::string& out, std::initializer_list<double> values) {
    for (const double value : values) {
        AppendPdfNumber(out, value);
        out += ' ';
    }
}

std::string Fixed4(double value) {
    char text[400];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    return std::string(text, end.ptr);
}

void AppendColour(std::string& out, surface::Colour colour) {
    AppendNumbers(out, {surface::RedOf(colour) / 255.0, surface::GreenOf(colour) / 255.0,
                        surface::BlueOf(colour) / 255.0});
    out += "rg\n";
}

// The font of the label's glyphs, codes from 1 in the order they come (at most 255).
struct CaptionFont {
    std::vector<std::uint32_t> glyphs;  // by code - 1

    std::optional<unsigned> CodeOf(std::uint32_t glyph) {
        const auto found = std::find(glyphs.begin(), glyphs.end(), glyph);
        if (found != glyphs.end()) return static_cast<unsigned>(found - glyphs.begin() + 1);
        if (glyphs.size() == 255) return std::nullopt;
        glyphs.push_back(glyph);
        return static_cast<unsigned>(glyphs.size());
    }
};

std::string FontDefinition(const CaptionFont& font, const surface::FreeTypeFont& face,
                           GlyphOutlines& outlines) {
    std::string out =
        "%%BeginResource: font QvCaption\n11 dict begin\n/FontType 3 def\n/FontMatrix [0.001 0 "
        "0 0.001 0 0] def\n/Encoding 256 array def\n0 1 255 { Encoding exch /.notdef put } "
        "for\n/Glyphs " +
        std::to_string(font.glyphs.size() + 1) +
        " dict def\nGlyphs /.notdef { 0 0 0 0 0 0 "
        "setcachedevice } put\n";
    std::array<double, 4> bounds{0, 0, 0, 0};
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        const GlyphOutline& glyph = outlines.Of(face, font.glyphs[i]);
        bounds = {std::min(bounds[0], glyph.box[0]), std::min(bounds[1], glyph.box[1]),
                  std::max(bounds[2], glyph.box[2]), std::max(bounds[3], glyph.box[3])};
        const std::string name = "/g" + std::to_string(i + 1);
        out += "Encoding " + std::to_string(i + 1) + " " + name + " put\nGlyphs " + name + " { ";
        AppendNumbers(out,
                      {glyph.advance, 0, glyph.box[0], glyph.box[1], glyph.box[2], glyph.box[3]});
        out += "setcachedevice\n" + glyph.path + "} put\n";
    }
    out += "/FontBBox [";
    AppendNumbers(out, {bounds[0], bounds[1], bounds[2], bounds[3]});
    out +=
        "] def\n/BuildGlyph { exch /Glyphs get exch 2 copy known not { pop /.notdef } if get "
        "exec } bind def\n/BuildChar { 1 index /Encoding get exch get 1 index /BuildGlyph get "
        "exec } bind def\ncurrentdict end\n/QvCaption exch definefont pop\n%%EndResource\n";
    return out;
}

// Each glyph at its origin, upright in the upside-down pixels.
void AppendText(std::string& out, const RecordedText& text, CaptionFont& font) {
    const RecordedFill& clip = text.clip;
    out += "gsave\n";
    AppendNumbers(out, {clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top});
    out += "rectclip\n";
    AppendColour(out, text.colour);
    out += "/QvCaption findfont [";
    const double size = text.font->pixelSize();
    AppendNumbers(out, {size, 0, 0, -size, 0, 0});
    out += "] makefont setfont\n";
    for (const surface::PlacedGlyph& placed : text.glyphs) {
        const auto code = font.CodeOf(placed.index);
        if (!code) continue;
        AppendNumbers(out, {placed.x, text.baseline});
        char hex[8];
        std::snprintf(hex, sizeof hex, "<%02X>", *code);
        out += std::string("moveto ") + hex + " show\n";
    }
    out += "grestore\n";
}

}  // namespace

const GlyphOutline& GlyphOutlines::Of(const surface::FreeTypeFont& font, std::uint32_t index) {
    if (!face_ || font.path() != path_ || font.faceIndex() != faceIndex_) {
        face_ = std::make_unique<OutlineFont>(font.path(), font.faceIndex());
        path_ = font.path();
        faceIndex_ = font.faceIndex();
        outlines_.clear();
    }
    auto found = outlines_.find(index);
    if (found == outlines_.end()) found = outlines_.emplace(index, face_->Outline(index)).first;
    return found->second;
}

std::string EpsOf(const LabelRecording& label, double dotsPerInch, GlyphOutlines& outlines) {
    const double scale = 72.0 / dotsPerInch;
    const double width = label.Width() * scale, height = label.Height() * scale;
    std::string page = "qvdict begin\ngsave\n[";
    AppendNumbers(page, {scale, 0, 0, -scale, 0, height});
    page += "] concat\n";
    CaptionFont font;
    for (std::size_t t = 0; t < label.Texts().size(); ++t) {
        page += label.Operators()[t];
        AppendText(page, label.Texts()[t], font);
    }
    page += label.Operators().back();
    page += "grestore\nend\nshowpage\n";
    const std::int64_t made = imagefile::DocumentSeconds(std::getenv("SOURCE_DATE_EPOCH"));
    std::string out = "%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: qvbarcode\n%%CreationDate: " +
                      imagefile::PostScriptDate(made) +
                      "\n%%Pages: 1\n%%DocumentData: Clean7Bit\n%%LanguageLevel: 2\n"
                      "%%BoundingBox: 0 0 " +
                      std::to_string(static_cast<long long>(std::ceil(width))) + " " +
                      std::to_string(static_cast<long long>(std::ceil(height))) +
                      "\n%%HiResBoundingBox: 0 0 " + Fixed4(width) + " " + Fixed4(height) +
                      "\n%%EndComments\n";
    out += kProlog;
    out += "%%BeginSetup\nqvdict begin\n";
    if (!font.glyphs.empty()) out += FontDefinition(font, *label.Texts().front().font, outlines);
    out += "end\n%%EndSetup\n%%Page: 1 1\n" + page + "%%Trailer\n%%EOF\n";
    return out;
}

}  // namespace qv::cli
