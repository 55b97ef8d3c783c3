// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/DrawingSurface.h>
#include <qvbarcode/surface/Font.h>

namespace qv::surface {

// A drawing surface that records what is drawn and gives it back as an SVG document of the
// same pixels as a RasterSurface would hold: fills and axis-parallel lines become rectangles
// (runs drawn side by side merge into one), other lines become line elements and captions
// text elements clipped to their box.
class QV_EXPORT SvgSurface final : public PenAndModeState {
  public:
    // Raises the failed call (invalid value) for a negative size.
    SvgSurface(std::int32_t width, std::int32_t height, Colour background = kWhite);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }

    void SetBkColor(Colour colour) { background_ = colour; }
    void SetTextColor(Colour colour) { textColour_ = colour; }
    // The font that measures captions for the opaque background mode; the control font
    // unless set. The document itself names the generic family and the pixel size.
    void SetFont(std::shared_ptr<const Font> font, float pixelSize);

    Colour GetBkColor() const override { return background_; }
    void FillRect(const Rect& rect, Colour brushColour) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    // Exactly: a bar narrowed by a fraction of a pixel is a rectangle that much narrower.
    void DrawNarrowedRuns(std::span<const ColumnRun> runs, double reduction, std::int32_t top,
                          std::int32_t bottom) override;
    void DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) override;

    // The document sized in pixels, or in millimetres for a medium of dotsPerInch; the
    // drawing's coordinates are pixels either way.
    std::string Document() const;
    std::string Document(double dotsPerInch) const;

  private:
    struct Fill {
        Rect rect;
        Colour colour;
    };
    // A fill whose sides lie between pixels.
    struct Strip {
        double left, right;
        std::int32_t top, bottom;
        Colour colour;
    };
    struct Line {
        std::int32_t x0, y0, x1, y1;
        Pen pen;
    };
    struct Text {
        std::u16string text;
        Rect clip;
        double anchorX;
        double baselineY;
        const char* anchor;
        Colour colour;
    };
    using Element = std::variant<Fill, Strip, Line, Text>;

    std::string Document(const std::string& width, const std::string& height) const;
    void AddFill(const Rect& rect, Colour colour);
    const Font& MeasuringFont();

    std::int32_t width_;
    std::int32_t height_;
    Colour background_;
    Colour textColour_ = kBlack;
    std::shared_ptr<const Font> font_;
    float fontPixels_ = 11.0f;
    std::vector<Element> elements_;
};

}  // namespace qv::surface
