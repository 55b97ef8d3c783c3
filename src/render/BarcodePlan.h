// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/surface/DrawingSurface.h>
#include <qvbarcode/surface/Font.h>

namespace qv::render {

// The white background's margin on every side of the bars, in pixels.
inline constexpr std::int32_t kMargin = 5;
// The bars' height under BarWidthSource when BarHeight is 0, in pixels.
inline constexpr std::int32_t kDefaultBarHeight = 50;

// The control's properties that place and size a barcode, read once per drawing.
struct QV_EXPORT BarcodeLayout {
    std::int32_t positionX = 0;
    std::int32_t positionY = 0;
    std::int32_t barWidth = 0;
    std::int32_t barHeight = 0;
    bool barWidthSource = false;
    bool backgroundWhite = false;
    bool showValue = false;
};

// The steps of painting a plan, in order. A coordinate the plan finds beyond 32 bits (or a
// caption size beyond 16) is raised by the painter at its step, after everything before it
// was drawn, as the control has always done.
enum class Step : std::uint8_t {
    Frame,    // before anything is painted (the own surface is already sized)
    Margins,  // after the white frame is filled
    Bars,     // after BarWidth is stored and the pen selected, before any bar
    Caption,  // after the bars
    Done,     // nothing overflows
};

// An overflow the plan found, raised when painting reaches its step. Plans compare by the
// step alone: the failed call is whatever the arithmetic raised there.
struct QV_EXPORT DeferredOverflow {
    Step step = Step::Done;
    std::shared_ptr<const host::FailedCall> failure = {};
    friend bool operator==(const DeferredOverflow& a, const DeferredOverflow& b) {
        return a.step == b.step;
    }
};

// The bars: module i covers columns left + i * moduleWidth onwards, moduleWidth of them, and
// a '1' draws its columns as vertical lines from row top to row bottom, bottom excluded.
struct QV_EXPORT Bars {
    std::string_view modules = {};
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    std::int32_t moduleWidth = 0;
    // Pixels every bar is drawn narrower by, half on each side, for a printer whose ink or
    // heat spreads; the spaces widen by as much. The control never narrows its bars.
    double reduction = 0.0;
    friend bool operator==(const Bars&, const Bars&) = default;
};

// Everything a drawing of a module string does, computed before anything is drawn. The texts
// are views of the caller's module string and caption.
struct QV_EXPORT BarcodePlan {
    // kDrawn, or the result code of a drawing that does nothing (then nothing else is set).
    std::int16_t code = 0;
    // The size the own surface takes: the frame's.
    std::int32_t surfaceWidth = 0;
    std::int32_t surfaceHeight = 0;
    // Filled white when the background is; otherwise the bars go over what the surface shows.
    bool whiteFrame = false;
    surface::Rect frame = {};
    Bars bars = {};
    // BarWidthSource: the module count, written into BarWidth once the frame is painted.
    std::optional<std::int32_t> storedBarWidth = {};
    // ShowValue: the caption, and the box that is cleared and holds it over the bars' foot.
    std::u16string_view caption = {};
    std::optional<surface::Rect> captionBox = {};
    DeferredOverflow overflow = {};

    friend bool operator==(const BarcodePlan&, const BarcodePlan&) = default;
};

// Plans the drawing of a module string with a caption measured at captionExtent (read only
// under ShowValue). Returns kNotEnoughWidth for a module under one pixel wide. Raises the
// failed call for what fails before anything is drawn (an empty module string, counts beyond
// 16 bits, a height beyond 32) and records the later overflows.
QV_EXPORT BarcodePlan PlanBarcode(std::string_view modules, std::u16string_view caption,
                                  const BarcodeLayout& layout, surface::TextExtent captionExtent);

}  // namespace qv::render
