// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include <qvbarcode/control/QvBarCode.h>
#include <qvbarcode/host/Export.h>
#include <qvbarcode/render/BarcodePlan.h>

namespace qv::control {

// A drawing planned without drawing; the plan's texts are held by texts.
struct QV_EXPORT PlannedBarcode {
    std::shared_ptr<const void> texts;
    render::BarcodePlan plan;
};

// What the control's Draw would draw now at PositionX, PositionY, planned without drawing
// anything: plan.code is the result code Draw would return, and for 0 the plan gives the
// sizes. Raises what Draw raises before it draws. For a caller that needs the barcode's size.
QV_EXPORT PlannedBarcode PlanOf(QvBarCode& control);

}  // namespace qv::control
