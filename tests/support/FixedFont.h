#pragma once

#include "symbology/Font.h"

namespace qv::testing {

// A font of fixed metrics that leaves no ink unless asked, so geometry tests see exact boxes.
class FixedFont final : public symbology::Font {
  public:
    FixedFont(float width = 40.0f, float height = 13.0f, bool ink = false)
        : width_(width), height_(height), ink_(ink) {}

    symbology::TextExtent Measure(std::u16string_view) const override { return {width_, height_}; }
    symbology::RenderedText Render(std::u16string_view) const override {
        symbology::RenderedText text;
        text.width = static_cast<std::int32_t>(width_);
        text.height = static_cast<std::int32_t>(height_);
        text.coverage.assign(static_cast<std::size_t>(text.width * text.height), ink_ ? 255 : 0);
        return text;
    }

  private:
    float width_;
    float height_;
    bool ink_;
};

}  // namespace qv::testing
