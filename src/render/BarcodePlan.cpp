// SPDX-License-Identifier: MIT
#include <qvbarcode/render/BarcodePlan.h>

#include <algorithm>
#include <cmath>

#include <qvbarcode/host/CheckedInt.h>
#include <qvbarcode/symbology/Encoding.h>

namespace qv::render {

using host::CheckedInt32;
using host::FailedCall;
using host::FailureReason;
using host::Int16;

namespace {

constexpr double kCaptionPadding = 6.0;

// Halves go to the even neighbour; std::nearbyint does exactly that in the default mode.
std::int64_t RoundHalfEven(double value) {
    // Every caller narrows the result to 16 or 32 bits, so anything beyond 2^62 overflows
    // anyway; refusing it here keeps the conversion to 64 bits defined.
    constexpr double kLimit = 4611686018427387904.0;  // 2^62
    if (!std::isfinite(value) || value >= kLimit || value <= -kLimit) {
        throw FailedCall(FailureReason::Overflow, "rounding a value beyond any coordinate");
    }
    return static_cast<std::int64_t>(std::nearbyint(value));
}

// The caption's box: centred on the frame, margins included, over the bars' lowest rows.
surface::Rect CaptionBox(const surface::Rect& frame, bool backgroundWhite,
                         surface::TextExtent extent) {
    const Int16 tw = Int16::From(RoundHalfEven(double{extent.width} + kCaptionPadding));
    const Int16 th = Int16::From(RoundHalfEven(extent.height));
    surface::Rect box;
    box.left = CheckedInt32(
        RoundHalfEven((static_cast<double>(frame.left) + frame.right - tw.value()) / 2.0));
    box.right = CheckedInt32(std::int64_t{box.left} + tw.value());
    box.bottom =
        backgroundWhite ? CheckedInt32(std::int64_t{frame.bottom} - kMargin) : frame.bottom;
    box.top = CheckedInt32(std::int64_t{box.bottom} - th.value());
    return box;
}

// The frame, the bars and the caption box, in the order they are painted; step says how far
// the computation got when a coordinate leaves its range.
void PlacePainted(BarcodePlan& plan, const BarcodeLayout& layout, std::int32_t height,
                  surface::TextExtent captionExtent, Step& step) {
    const std::int32_t margin = layout.backgroundWhite ? kMargin : 0;
    const std::int32_t moduleWidth = plan.bars.moduleWidth;
    const std::int64_t total = static_cast<std::int64_t>(plan.bars.modules.size()) * moduleWidth;
    std::int32_t x = layout.positionX;
    std::int32_t y = layout.positionY;
    step = Step::Frame;
    plan.frame = {x, y, CheckedInt32(x + total + 2 * margin),
                  CheckedInt32(std::int64_t{y} + height + 2 * margin)};
    if (layout.backgroundWhite) {
        step = Step::Margins;
        x = CheckedInt32(std::int64_t{x} + margin);
        y = CheckedInt32(std::int64_t{y} + margin);
    }
    // The frame's right edge fits 32 bits, and with it every column of the bars.
    step = Step::Bars;
    plan.bars.left = x;
    plan.bars.top = y;
    plan.bars.bottom = CheckedInt32(std::int64_t{y} + height);
    if (layout.showValue) {
        step = Step::Caption;
        plan.captionBox = CaptionBox(plan.frame, layout.backgroundWhite, captionExtent);
    }
    step = Step::Done;
}

}  // namespace

BarcodePlan PlanBarcode(std::string_view modules, std::u16string_view caption,
                        const BarcodeLayout& layout, surface::TextExtent captionExtent) {
    BarcodePlan plan;
    const Int16 n = Int16::From(static_cast<std::int64_t>(modules.size()));
    if (n.value() == 0) {
        throw FailedCall(FailureReason::InvalidValue, "empty module string");
    }

    Int16 mw(1);
    std::int32_t h = layout.barHeight;
    if (layout.barWidthSource) {
        if (h == 0) {
            h = kDefaultBarHeight;
        }
    } else {
        const std::int64_t available =
            layout.backgroundWhite ? std::int64_t{layout.barWidth} - 2 * kMargin : layout.barWidth;
        mw = Int16::From(static_cast<std::int64_t>(std::floor(double(available) / n.value())));
        if (mw.value() < 1) {
            plan.code = symbology::kNotEnoughWidth;
            return plan;
        }
    }
    const Int16 total = n * mw;
    const std::int32_t margins = layout.backgroundWhite ? 2 * kMargin : 0;
    h = CheckedInt32(std::int64_t{h} - margins);

    plan.surfaceWidth = total.value() + margins;
    plan.surfaceHeight = h + margins;
    plan.whiteFrame = layout.backgroundWhite;
    plan.bars.modules = modules;
    plan.bars.moduleWidth = mw.value();
    if (layout.barWidthSource) {
        plan.storedBarWidth = n.value();
    }
    if (layout.showValue) {
        plan.caption = caption;
    }
    Step step = Step::Frame;
    try {
        PlacePainted(plan, layout, h, captionExtent, step);
    } catch (const FailedCall& failure) {
        plan.overflow = {step, std::make_shared<const FailedCall>(failure)};
    }
    return plan;
}

}  // namespace qv::render
