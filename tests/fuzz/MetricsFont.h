#pragma once

#include <algorithm>
#include <cmath>

#include "symbology/Font.h"

namespace qv::fuzz {

// A font whose measurements the input chooses, however absurd (huge, infinite, not a number),
// because the caption arithmetic must turn any of them into a drawing or a failed call.
// What it renders is a small inked block, so drawing stays cheap.
class MetricsFont final : public symbology::Font {
  public:
    MetricsFont(float width, float height) : width_(width), height_(height) {}

    symbology::TextExtent Measure(std::u16string_view) const override { return {width_, height_}; }
    symbology::RenderedText Render(std::u16string_view) const override {
        symbology::RenderedText text;
        text.width = Clamp(width_);
        text.height = Clamp(height_);
        text.coverage.assign(static_cast<std::size_t>(text.width) * text.height, 200);
        return text;
    }

  private:
    static std::int32_t Clamp(float value) {
        return std::isfinite(value) ? static_cast<std::int32_t>(std::clamp(value, 0.0f, 48.0f)) : 0;
    }
    float width_;
    float height_;
};

}  // namespace qv::fuzz
