// SPDX-License-Identifier: MIT
#pragma once

#include <QPainter>
#include <QSize>
#include <cstdint>
#include <memory>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/DrawingSurface.h>
#include <qvbarcode/surface/Font.h>
#include <qvbarcode/surface/SurfaceHandles.h>

namespace qv::painting {

// The drawing operations over a Qt painter, with the pixels a RasterSurface would set:
// fills are half-open, a line leaves out its end point, captions come from the control's
// font and are clipped to their box. The painter must outlive the surface.
class QV_EXPORT QPainterSurface final : public surface::PenAndModeState {
  public:
    // size: the drawable area from (0, 0) in the painter's coordinates.
    QPainterSurface(QPainter& painter, QSize size, surface::Colour background = surface::kWhite);

    void SetTextColor(surface::Colour colour) { textColour_ = colour; }
    void SetFont(std::shared_ptr<const surface::Font> font) { font_ = std::move(font); }

    surface::Colour GetBkColor() const override { return background_; }
    void FillRect(const surface::Rect& rect, surface::Colour brushColour) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void DrawText(std::string_view windows1252Text, const surface::Rect& rect,
                  unsigned format) override;

  private:
    void PlotPen(std::int64_t x, std::int64_t y);

    QPainter& painter_;
    QSize size_;
    surface::Colour background_;
    surface::Colour textColour_ = surface::kBlack;
    std::shared_ptr<const surface::Font> font_;
};

// A painter surface with a handle in the surface table for exactly as long as this object
// lives, so that Draw can be given it.
class QV_EXPORT PainterSurfaceHandle {
  public:
    PainterSurfaceHandle(QPainter& painter, QSize size,
                         surface::Colour background = surface::kWhite)
        : surface_(std::make_shared<QPainterSurface>(painter, size, background)),
          handle_(surface_) {}

    QPainterSurface& surface() { return *surface_; }
    surface::SurfaceHandle get() const { return handle_.get(); }

  private:
    std::shared_ptr<QPainterSurface> surface_;
    surface::ScopedSurfaceHandle handle_;
};

}  // namespace qv::painting

// Where programs written against the widget library found them.
namespace qv::widget {
using painting::PainterSurfaceHandle;
using painting::QPainterSurface;
}  // namespace qv::widget
