// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <qvbarcode/surface/Font.h>

namespace qv::testing {

// A font of fixed metrics, however absurd, that remembers what it measured and leaves no ink
// unless asked, so geometry tests see exact boxes. It renders at most 48 x 48 pixels.
class FixedFont final : public surface::Font {
  public:
    FixedFont(float width = 40.0f, float height = 13.0f, std::uint8_t ink = 0)
        : width_(width), height_(height), ink_(ink) {}

    surface::TextExtent Measure(std::u16string_view text) const override {
        measured.emplace_back(text);
        return {width_, height_};
    }
    surface::RenderedText Render(std::u16string_view) const override {
        surface::RenderedText text;
        text.width = Clamp(width_);
        text.height = Clamp(height_);
        text.coverage.assign(static_cast<std::size_t>(text.width) * text.height, ink_);
        return text;
    }
    mutable std::vector<std::u16string> measured;

  private:
    static std::int32_t Clamp(float value) {
        return std::isfinite(value) ? static_cast<std::int32_t>(std::clamp(value, 0.0f, 48.0f)) : 0;
    }
    float width_;
    float height_;
    std::uint8_t ink_;
};

}  // namespace qv::testing
