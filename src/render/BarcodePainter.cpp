// SPDX-License-Identifier: MIT
#include <qvbarcode/render/BarcodePainter.h>

#include <qvbarcode/host/CheckedInt.h>
#include <qvbarcode/surface/Windows1252.h>

namespace qv::render {

namespace {

void RaiseAt(const BarcodePlan& plan, Step step) {
    if (plan.overflow.step == step) {
        throw *plan.overflow.failure;
    }
}

// Keeps the pen that was current and puts it back when drawing ends, also by an exception.
class PenSelection {
  public:
    PenSelection(surface::DrawingSurface& surface, const surface::Pen& pen)
        : surface_(surface), previous_(surface.SelectPen(pen)) {}
    ~PenSelection() { surface_.SelectPen(previous_); }
    PenSelection(const PenSelection&) = delete;
    PenSelection& operator=(const PenSelection&) = delete;

  private:
    surface::DrawingSurface& surface_;
    surface::Pen previous_;
};

void PaintBars(const Bars& bars, surface::DrawingSurface& surface, KeptBarRuns* kept) {
    if (bars.reduction != 0.0) {
        surface.DrawNarrowedRuns(BarRuns(bars.modules, bars.left, bars.moduleWidth), bars.reduction,
                                 bars.top, bars.bottom);
        return;
    }
    if (!kept) {
        surface.DrawColumnRuns(BarRuns(bars.modules, bars.left, bars.moduleWidth), bars.top,
                               bars.bottom);
        return;
    }
    // Held here: the runs stay whole whatever the keeper holds next.
    const auto runs = RunsOf(bars.modules, bars.left, bars.moduleWidth, *kept);
    surface.DrawColumnRuns(*runs, bars.top, bars.bottom);
}

void PaintCaption(const BarcodePlan& plan, surface::DrawingSurface& surface,
                  surface::Colour colour) {
    const host::Int16 previousMode = host::Int16::From(surface.SetBkMode(surface::kTransparent));
    surface.FillRect(*plan.captionBox, colour);
    surface.DrawText(surface::EncodeWindows1252(plan.caption), *plan.captionBox,
                     surface::kCaptionFormat);
    surface.SetBkMode(previousMode.value());
}

}  // namespace

surface::Colour PaintFrame(const BarcodePlan& plan, surface::DrawingSurface& surface) {
    RaiseAt(plan, Step::Frame);
    if (!plan.whiteFrame) {
        return surface.GetBkColor();
    }
    surface.FillRect(plan.frame, surface::kWhite);
    RaiseAt(plan, Step::Margins);
    return surface::kWhite;
}

void PaintBarsAndCaption(const BarcodePlan& plan, surface::DrawingSurface& surface,
                         surface::Colour captionColour, KeptBarRuns* kept) {
    const PenSelection pen(surface, surface::Pen{surface::kBlack, 1});
    RaiseAt(plan, Step::Bars);
    PaintBars(plan.bars, surface, kept);
    RaiseAt(plan, Step::Caption);
    if (plan.captionBox) {
        PaintCaption(plan, surface, captionColour);
    }
}

void PaintBarcode(const BarcodePlan& plan, surface::DrawingSurface& surface, KeptBarRuns* kept) {
    PaintBarsAndCaption(plan, surface, PaintFrame(plan, surface), kept);
}

}  // namespace qv::render
