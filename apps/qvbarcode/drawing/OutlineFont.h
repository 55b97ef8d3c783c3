// SPDX-License-Identifier: MIT
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <string>

namespace qv::cli {

// A glyph as a document's font procedure draws it: its outline as PDF path operators and
// its advance and box, in thousandths of an em with y up.
struct GlyphOutline {
    std::string path;  // ending in f, or empty for a blank glyph
    double advance = 0;
    std::array<double, 4> box{};  // left, bottom, right, top
};

// A font file's unhinted outlines, read through cairo, which draws the same face elsewhere.
class OutlineFont {
  public:
    // Raises the failed call when cairo cannot use the face.
    OutlineFont(const std::string& path, int faceIndex);
    ~OutlineFont();
    OutlineFont(const OutlineFont&) = delete;
    OutlineFont& operator=(const OutlineFont&) = delete;

    GlyphOutline Outline(std::uint32_t index) const;
    // Its PostScript name, letters and digits only, or "Caption".
    const std::string& Name() const { return name_; }

  private:
    void Release();

    cairo_font_face_t* face_ = nullptr;
    cairo_scaled_font_t* font_ = nullptr;
    cairo_surface_t* scratch_ = nullptr;
    cairo_t* cr_ = nullptr;
    std::string name_;
};

// A number as PDF writes it: no exponent, at most four decimals, no trailing zeros. Put
// writes it at at, which has room for kPdfNumberSize characters, and returns its end.
constexpr std::size_t kPdfNumberSize = 48;
char* PutPdfNumber(char* at, double value);
void AppendPdfNumber(std::string& out, double value);

}  // namespace qv::cli
