#pragma once

#include <QPainter>
#include <QSize>
#include <cstdint>
#include <memory>

#include "symbology/DrawingSurface.h"
#include "symbology/Font.h"
#include "symbology/SurfaceHandles.h"

namespace qv::designer {

// The drawing operations over a Qt painter, with the pixels a RasterSurface would set:
// fills are half-open, a line leaves out its end point, captions come from the control's
// font and are clipped to their box. The painter must outlive the surface.
class QPainterSurface final : public symbology::PenAndModeState {
  public:
    // size: the drawable area from (0, 0) in the painter's coordinates.
    QPainterSurface(QPainter& painter, QSize size,
                    symbology::Colour background = symbology::kWhite);

    void SetTextColor(symbology::Colour colour) { textColour_ = colour; }
    void SetFont(std::shared_ptr<const symbology::Font> font) { font_ = std::move(font); }

    symbology::Colour GetBkColor() const override { return background_; }
    void FillRect(const symbology::Rect& rect, symbology::Colour brushColour) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void DrawText(std::string_view windows1252Text, const symbology::Rect& rect,
                  unsigned format) override;

  private:
    void PlotPen(std::int64_t x, std::int64_t y);

    QPainter& painter_;
    QSize size_;
    symbology::Colour background_;
    symbology::Colour textColour_ = symbology::kBlack;
    std::shared_ptr<const symbology::Font> font_;
};

// A painter surface with a handle in the surface table for exactly as long as this object
// lives, so that Draw can be given it.
class PainterSurfaceHandle {
  public:
    PainterSurfaceHandle(QPainter& painter, QSize size,
                         symbology::Colour background = symbology::kWhite)
        : surface_(std::make_shared<QPainterSurface>(painter, size, background)),
          handle_(surface_) {}

    QPainterSurface& surface() { return *surface_; }
    symbology::SurfaceHandle get() const { return handle_.get(); }

  private:
    std::shared_ptr<QPainterSurface> surface_;
    symbology::ScopedSurfaceHandle handle_;
};

}  // namespace qv::designer
