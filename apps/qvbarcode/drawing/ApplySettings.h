// SPDX-License-Identifier: MIT
#pragma once

#include <qvbarcode/control/QvBarCode.h>
#include "drawing/BarcodeSize.h"
#include "options/CliOptions.h"

namespace qv::cli {

// Sets every property the settings carry, so that a reused control keeps nothing of the
// record before (Draw itself overwrites BarWidth under BarWidthSource).
void ApplySettings(const BarcodeSettings& settings, const ControlSize& size,
                   control::QvBarCode& control);

}  // namespace qv::cli
