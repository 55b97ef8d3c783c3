// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/render/BarcodePlan.h>

namespace qv::cli {

// What a successful drawing holds that scanners will likely misread or not read at all.
// Each is one message; none changes what is drawn or the exit status.

// A last digit that is not the check digit of those before it, where the symbology ends in
// one (EAN-13); a start or stop character inside the text (a '*' in Code 39); a caption that
// covers every row of bars. plan is the plan of the drawing the control made.
std::vector<std::string> DrawingWarnings(const control::QvBarCode& control,
                                         const render::BarcodePlan& plan);

// A barcode that runs off an image of imageWidth x imageHeight.
std::optional<std::string> CutOffWarning(const render::BarcodePlan& plan, std::int32_t imageWidth,
                                         std::int32_t imageHeight);

}  // namespace qv::cli
