#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "surface/Font.h"

namespace qv::surface {

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

    const std::string& path() const { return path_; }
    std::int32_t lineHeight() const { return lineHeight_; }
    std::int32_t baseline() const { return baseline_; }

  private:
    struct Face;

    std::string path_;
    std::unique_ptr<Face> face_;
    mutable std::mutex lock_;
    std::int32_t lineHeight_ = 0;
    std::int32_t baseline_ = 0;
};

// A font named by a fontconfig pattern ("DejaVu Sans:bold") or by a font file path, at
// pixelSize pixels per em. Raises the failed call when nothing loads.
std::shared_ptr<const Font> LoadFont(const std::string& patternOrFile, float pixelSize);

}  // namespace qv::surface
