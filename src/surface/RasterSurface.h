// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/DrawingSurface.h>
#include <qvbarcode/surface/Font.h>
#include <qvbarcode/surface/RasterRows.h>

namespace qv::surface {

// A 24-bit in-memory picture with the drawing state of a device context: current pen and
// position, background colour and mode, text colour and font. Copies share their pixels
// until one of them draws, so keeping a drawing as a picture costs no copy.
//
// Rows that are alike may be stored once (see RasterRows): vertical bars drawn over a
// surface of one colour leave every row they cross the same, so those rows show the first
// one's pixels until something draws on them. Address rows only through RowData(y). Reading
// writes nothing: one picture may be read from several threads at once.
class QV_EXPORT RasterSurface final : public PenAndModeState {
  public:
    // Sizes above this many pixels are refused as out of memory (an empty surface counts as
    // one pixel wide and high).
    static constexpr std::int64_t kMaxPixels = RasterRows::kMaxPixels;

    // Raises the failed call: invalid value for a negative size, out of memory above kMaxPixels.
    RasterSurface(std::int32_t width, std::int32_t height, Colour background = kWhite);
    RasterSurface(const RasterSurface& other);
    RasterSurface& operator=(const RasterSurface& other);

    std::int32_t width() const { return rows_.width(); }
    std::int32_t height() const { return rows_.height(); }
    Colour PixelAt(std::int32_t x, std::int32_t y) const;
    void SetPixel(std::int32_t x, std::int32_t y, Colour colour);
    // Row y: width * 3 bytes in R, G, B order. Rows that are alike may share one pointer.
    const std::uint8_t* RowData(std::int32_t y) const { return rows_.Row(y); }
    std::size_t RowBytes() const { return rows_.RowBytes(); }
    // Whether row y (above 0) shows the same pixels as the row above: most rows of a barcode
    // do, and file encoders write them without looking at their pixels again.
    bool RowRepeatsAbove(std::int32_t y) const {
        const std::uint8_t* row = RowData(y);
        const std::uint8_t* above = RowData(y - 1);
        return row == above || std::memcmp(row, above, RowBytes()) == 0;
    }
    // Row y's own bytes to write into, valid until the next call on this surface: for pixels
    // kept elsewhere and brought in before drawing. y must lie inside the surface.
    std::uint8_t* WritableRowData(std::int32_t y);
    // Every row, top first, in one buffer of height * RowBytes() bytes.
    std::vector<std::uint8_t> ContiguousPixels() const;

    // Copies source's pixels with its top-left corner at (x, y), clipped to this surface.
    void Blit(const RasterSurface& source, std::int32_t x, std::int32_t y);

    void SetBkColor(Colour colour) { background_ = colour; }
    void SetTextColor(Colour colour) { textColour_ = colour; }
    void SetFont(std::shared_ptr<const Font> font) { font_ = std::move(font); }

    Colour GetBkColor() const override { return background_; }
    void FillRect(const Rect& rect, Colour brushColour) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                     std::int32_t bottom) override;
    void DrawColumnRuns(std::span<const ColumnRun> runs, std::int32_t top,
                        std::int32_t bottom) override;
    void DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) override;

  private:
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= 0 && y >= 0 && x < width() && y < height();
    }
    std::uint8_t* PixelPointer(std::int32_t x, std::int32_t y) {
        return rows_.WritableRows(y, y + 1) + static_cast<std::size_t>(y) * RowBytes() +
               static_cast<std::size_t>(x) * 3;
    }
    void FillRows(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                  Colour colour);
    void PlotPen(std::int32_t x, std::int32_t y);
    void LineToOtherwise(std::int32_t x, std::int32_t y);
    // Rows [top, bottom) of a surface of one colour show row top from now on.
    void ShareRows(std::int32_t top, std::int32_t bottom);
    // Column x over the shared rows: one pixel of the row they show.
    void DrawSharedColumn(std::int32_t x);
    // Any write but a fill: no rectangle is known to be of one colour any more.
    void Touched() { solid_.reset(); }
    bool Uniform() const { return solid_ && solid_->rect == Rect{0, 0, width(), height()}; }

    // A rectangle every pixel of which is known to be one colour: the last fill, until
    // anything else draws. Filling the whole surface again in that colour is then free, and
    // text over it takes every pixel's colour from its coverage alone.
    struct SolidRect {
        Rect rect;
        Colour colour = 0;
    };

    // The last text drawn, rendered and painted: labels drawn one after another mostly carry
    // the same caption, and rendering and painting it cost more than all the bars. One entry,
    // kept by this surface alone (copies start without it).
    struct TextPainting;
    std::shared_ptr<TextPainting> PaintingOf(std::string_view windows1252Text);

    // A fill of the whole surface writes no row: rows are written when drawn over, so rows
    // that bars then make alike are never written.
    RasterRows rows_;
    std::optional<SolidRect> solid_;
    Colour background_;
    Colour textColour_ = kBlack;
    std::shared_ptr<const Font> font_;
    std::shared_ptr<TextPainting> lastText_;
};

}  // namespace qv::surface
