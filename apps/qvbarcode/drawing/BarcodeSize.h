// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include <qvbarcode/render/BarcodePlan.h>
#include "options/CliOptions.h"

namespace qv::cli {

// The white background's margins across the barcode, both sides together, as the control
// draws them.
inline constexpr std::int32_t kWhiteMargins = 2 * render::kMargin;

// The size properties the control gets.
struct ControlSize {
    std::int32_t barWidth = 0;
    std::int32_t barHeight = 0;
    AutomationBool barWidthSource = kFalse;
};

// The control's size properties for the settings printed at dotsPerInch. Without a width
// of any kind the barcode takes the control's default size, one pixel per module and 50
// pixels high (BarWidthSource), which at another resolution keeps its printed size: modules
// of 1/96 inch and 50/96 inch high. A height left out is that default's too.
ControlSize ResolveSize(const BarcodeSettings& settings, double dotsPerInch);

// The number of modules the control draws for the settings' text, or nothing when it will
// refuse the text (and say why itself).
std::optional<std::int32_t> ModuleCount(const BarcodeSettings& settings);

}  // namespace qv::cli
