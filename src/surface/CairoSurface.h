// SPDX-License-Identifier: MIT
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/DrawingSurface.h>
#include <qvbarcode/surface/Font.h>

namespace qv::surface {

// A drawing surface over a cairo context: a GTK widget's, an image's, a PDF or PostScript
// page's. One unit of the context's user space is one pixel of the drawing; the context's
// transformation and clip apply. Fills and bars become exact filled rectangles and captions
// real text in the font's own face, so vector output stays sharp and its text searchable.
// Every operation leaves the context's state as it found it.
class QV_EXPORT CairoSurface final : public PenAndModeState {
  public:
    // Holds a reference to cr for as long as the surface lives.
    explicit CairoSurface(cairo_t* cr, Colour background = kWhite);
    ~CairoSurface() override;
    CairoSurface(const CairoSurface&) = delete;
    CairoSurface& operator=(const CairoSurface&) = delete;

    void SetBkColor(Colour colour) { background_ = colour; }
    void SetTextColor(Colour colour) { textColour_ = colour; }
    // The caption font, the control's font unless set. Its text is drawn from the font's
    // file; a font that has none (not loaded through FreeType) draws in the control's face.
    void SetFont(std::shared_ptr<const Font> font);

    Colour GetBkColor() const override { return background_; }
    void FillRect(const Rect& rect, Colour brushColour) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                     std::int32_t bottom) override;
    // Exactly: a bar narrowed by a fraction of a pixel is a rectangle that much narrower.
    void DrawNarrowedRuns(std::span<const ColumnRun> runs, double reduction, std::int32_t top,
                          std::int32_t bottom) override;
    void DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) override;

  private:
    struct Face;

    void Fill(double left, double top, double right, double bottom, Colour colour);
    const Face& TextFace();

    cairo_t* cr_;
    Colour background_;
    Colour textColour_ = kBlack;
    std::shared_ptr<const Font> font_;
    std::unique_ptr<Face> face_;  // made at the first text, for the font then set
};

}  // namespace qv::surface
