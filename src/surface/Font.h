// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include <qvbarcode/host/Export.h>

namespace qv::surface {

// One line of text as grey-level coverage, 0 (paper) to 255 (ink), row by row.
// height is the font's line height, so bottoms of different texts line up.
struct QV_EXPORT RenderedText {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> coverage;
    // A box holding every non-zero coverage, half-open; empty when nothing is inked.
    std::int32_t inkLeft = 0;
    std::int32_t inkTop = 0;
    std::int32_t inkRight = 0;
    std::int32_t inkBottom = 0;

    std::uint8_t at(std::int32_t x, std::int32_t y) const {
        return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                        static_cast<std::size_t>(x)];
    }
};

struct QV_EXPORT TextExtent {
    float width = 0.0f;
    float height = 0.0f;
};

// A font at one pixel size. Texts are UTF-16; characters the font lacks show its fallback glyph.
class QV_EXPORT Font {
  public:
    virtual ~Font() = default;
    virtual TextExtent Measure(std::u16string_view text) const = 0;
    virtual RenderedText Render(std::u16string_view text) const = 0;
};

// The resolution the control's pixels are meant for: a usual screen's.
inline constexpr double kScreenDotsPerInch = 96.0;

// The control's font: a sans-serif face at 8.25 points on a 96 dpi screen (11 pixels),
// found through fontconfig, DejaVu Sans when nothing better is configured. Shared and cached.
QV_EXPORT std::shared_ptr<const Font> ControlFont();
// The same face at the same 8.25 points for a medium of dotsPerInch (34.375 pixels at 300):
// a caption keeps its printed size. At 96 it is ControlFont() itself. Raises the failed call
// (invalid value) for a resolution that makes no usable pixel size.
QV_EXPORT std::shared_ptr<const Font> ControlFontAt(double dotsPerInch);

}  // namespace qv::surface
