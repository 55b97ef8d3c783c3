#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "surface/DrawingSurface.h"
#include "surface/Font.h"
#include "surface/SurfaceHandles.h"

namespace qv::symbology {

// The white background's margin on every side of the bars, in pixels.
inline constexpr std::int32_t kMargin = 5;
// The bars' height under BarWidthSource when BarHeight is 0, in pixels.
inline constexpr std::int32_t kDefaultBarHeight = 50;

// The control's properties the pipeline reads, once per call.
struct BarcodeLayout {
    std::int32_t positionX = 0;
    std::int32_t positionY = 0;
    std::int32_t barWidth = 0;
    std::int32_t barHeight = 0;
    bool barWidthSource = false;
    bool backgroundWhite = false;
    bool showValue = false;
};

// The runs of the last bars drawn for one control: labels drawn one after another mostly
// carry the same symbol at the same place. Keyed by all that places the bars; the runs are
// shared so that a drawing keeps its own while host events draw again.
struct KeptBarRuns {
    std::string modules;
    std::int32_t x = 0;
    std::int32_t moduleWidth = 0;
    std::shared_ptr<const std::vector<surface::ColumnRun>> runs;
};

// What the pipeline needs of the control it draws for. The control implements it; tests
// replace it.
class PipelineHost {
  public:
    virtual ~PipelineHost() = default;
    virtual BarcodeLayout Layout() const = 0;
    // Written straight into the control, without a change notification.
    virtual void StoreBarWidth(std::int32_t moduleCount) = 0;
    virtual bool DrawsOnOwnSurface() const = 0;
    // Own surface only: width first, then height, each running the control's resize handling.
    virtual void SetOwnSurfaceWidth(std::int32_t width) = 0;
    virtual void SetOwnSurfaceHeight(std::int32_t height) = 0;
    virtual void ProcessPendingEvents() = 0;
    virtual surface::SurfaceHandle OwnSurfaceHandle() = 0;
    // Makes what was drawn the own surface's picture.
    virtual void KeepOwnSurfaceDrawing() = 0;
    // The caption's size in the control's font, in pixels.
    virtual surface::TextExtent MeasureText(std::u16string_view text) const = 0;
    // Where the bars' runs are kept between drawings; nullptr keeps nothing.
    virtual KeptBarRuns* BarRunsKeeper() { return nullptr; }
};

// Sizes, paints and captions a module string on the surface that hdc names, or on the
// control's own surface (hdc then receives its handle). Returns kDrawn or kNotEnoughWidth;
// raises the failed call for an overflow or a handle that names no surface.
std::int16_t DrawModuleString(PipelineHost& host, std::string_view modules,
                              std::u16string_view caption, surface::SurfaceHandle& hdc);

}  // namespace qv::symbology
