// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "drawing/LabelRecording.h"
#include "drawing/OutlineFont.h"

namespace qv::cli {

// The caption glyphs' outlines a renderer has needed, read once each.
class GlyphOutlines {
  public:
    // Raises the failed call when cairo cannot use the font.
    const GlyphOutline& Of(const surface::FreeTypeFont& font, std::uint32_t index);

  private:
    std::unique_ptr<OutlineFont> face_;
    std::string path_;
    int faceIndex_ = -1;
    std::map<std::uint32_t, GlyphOutline> outlines_;
};

// A label as an EPS file written directly: its rectangles filled and its caption in a Type 3
// font of the glyphs it uses, each pixel 72 / dotsPerInch points; dated by SOURCE_DATE_EPOCH
// or 1970, so the same label gives the same bytes.
std::string EpsOf(const LabelRecording& label, double dotsPerInch, GlyphOutlines& outlines);

}  // namespace qv::cli
