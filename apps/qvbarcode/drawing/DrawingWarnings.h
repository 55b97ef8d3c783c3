#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "control/QvBarCode.h"
#include "surface/Font.h"

namespace qv::cli {

// What a successful drawing holds that scanners will likely misread or not read at all.
// Each is one message; none changes what is drawn or the exit status.

// An EAN-13 whose 13th digit is not its check digit; a Code 39 text with '*'; a caption that
// covers every row of bars. pictureHeight is the height of the drawing the control made.
std::vector<std::string> DrawingWarnings(const control::QvBarCode& control,
                                         const surface::Font& font, std::int32_t pictureHeight);

// A barcode of width x height at (x, y) that runs off an image of imageWidth x imageHeight.
std::optional<std::string> CutOffWarning(std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, std::int32_t imageWidth,
                                         std::int32_t imageHeight);

}  // namespace qv::cli
