// SPDX-License-Identifier: MIT
#pragma once

#include <qvbarcode/host/Export.h>
#include <qvbarcode/render/BarRuns.h>
#include <qvbarcode/render/BarcodePlan.h>
#include <qvbarcode/surface/DrawingSurface.h>

namespace qv::render {

// Painting a plan of result kDrawn onto a surface, in two steps so that the control can store
// BarWidth between them, where it always has. Each raises the plan's overflow at its step,
// with what was painted before it staying.

// The frame: filled white, or for a frame without background nothing, the surface's
// background colour being taken for the caption box. Returns the caption box's colour.
QV_EXPORT surface::Colour PaintFrame(const BarcodePlan& plan, surface::DrawingSurface& surface);

// The bars with a one-pixel black pen, through kept (nullptr keeps nothing), and the caption
// cleared with captionColour and drawn in the surface's font, transparently. The surface's
// pen and background mode are put back, also by a failure.
QV_EXPORT void PaintBarsAndCaption(const BarcodePlan& plan, surface::DrawingSurface& surface,
                                   surface::Colour captionColour, KeptBarRuns* kept);

// Both steps.
QV_EXPORT void PaintBarcode(const BarcodePlan& plan, surface::DrawingSurface& surface,
                            KeptBarRuns* kept = nullptr);

}  // namespace qv::render
