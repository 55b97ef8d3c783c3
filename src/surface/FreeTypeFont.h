// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <qvbarcode/surface/Font.h>

namespace qv::surface {

// Where a glyph of a text goes: its code point, its index in the face and its origin's
// distance from the text's left edge, in pixels, kerning included.
struct PlacedGlyph {
    char32_t code = 0;
    std::uint32_t index = 0;
    double x = 0.0;
};

// A scalable font face rendered through FreeType, antialiased, at one pixel size.
// One object may serve several threads: every FreeType call holds the object's lock.
class FreeTypeFont final : public Font {
  public:
    // Raises the failed call (platform failure) when the file holds no usable face.
    FreeTypeFont(const std::string& path, int faceIndex, float pixelSize);
    ~FreeTypeFont() override;
    FreeTypeFont(const FreeTypeFont&) = delete;
    FreeTypeFont& operator=(const FreeTypeFont&) = delete;

    TextExtent Measure(std::u16string_view text) const override;
    RenderedText Render(std::u16string_view text) const override;
    // The glyphs Render draws, at their unrounded positions, for media that draw the face's
    // outlines themselves; characters without a glyph the face can load are left out.
    std::vector<PlacedGlyph> Place(std::u16string_view text) const;

    const std::string& path() const { return path_; }
    int faceIndex() const { return faceIndex_; }
    float pixelSize() const { return pixelSize_; }
    std::int32_t lineHeight() const { return lineHeight_; }
    std::int32_t baseline() const { return baseline_; }

  private:
    struct Face;

    std::string path_;
    int faceIndex_;
    float pixelSize_;
    std::unique_ptr<Face> face_;
    mutable std::mutex lock_;
    std::int32_t lineHeight_ = 0;
    std::int32_t baseline_ = 0;
};

// A font named by a fontconfig pattern ("DejaVu Sans:bold") or by a font file path, at
// pixelSize pixels per em. Raises the failed call when nothing loads.
std::shared_ptr<const Font> LoadFont(const std::string& patternOrFile, float pixelSize);

}  // namespace qv::surface
