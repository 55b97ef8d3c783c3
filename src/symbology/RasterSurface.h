#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "symbology/DrawingSurface.h"
#include "symbology/Font.h"

namespace qv::symbology {

// A 24-bit in-memory picture with the drawing state of a device context: current pen and
// position, background colour and mode, text colour and font. Copies share their pixels
// until one of them draws, so keeping a drawing as a picture costs no copy.
class RasterSurface final : public PenAndModeState {
  public:
    // Sizes above this many pixels are refused as out of memory.
    static constexpr std::int64_t kMaxPixels = std::int64_t{64} * 1024 * 1024;

    // Raises the failed call: invalid value for a negative size, out of memory above kMaxPixels.
    RasterSurface(std::int32_t width, std::int32_t height, Colour background = kWhite);
    // Copies settle the pending bar rows first, so both sides see finished pixels.
    RasterSurface(const RasterSurface& other);
    RasterSurface& operator=(const RasterSurface& other);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    Colour PixelAt(std::int32_t x, std::int32_t y) const;
    void SetPixel(std::int32_t x, std::int32_t y, Colour colour);
    // Rows of width * 3 bytes in R, G, B order, top row first.
    const std::uint8_t* RowData(std::int32_t y) const {
        Settle();
        return pixels_->data() + static_cast<std::size_t>(y) * RowBytes();
    }
    std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * 3; }

    // Copies source's pixels with its top-left corner at (x, y), clipped to this surface.
    void Blit(const RasterSurface& source, std::int32_t x, std::int32_t y);

    void SetBkColor(Colour colour) { background_ = colour; }
    void SetTextColor(Colour colour) { textColour_ = colour; }
    Colour textColor() const { return textColour_; }
    void SetFont(std::shared_ptr<const Font> font) { font_ = std::move(font); }

    Colour GetBkColor() const override { return background_; }
    void FillRect(const Rect& rect, Colour brushColour) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    void DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) override;

  private:
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    // Every write goes through here: it takes the pixels for this surface alone first.
    std::uint8_t* PixelPointer(std::int32_t x, std::int32_t y) {
        return WritablePixels() + static_cast<std::size_t>(y) * RowBytes() +
               static_cast<std::size_t>(x) * 3;
    }
    std::uint8_t* WritablePixels() const;
    // Writes what is still owed: the rows of a fill not made yet and the bar rows LineTo
    // left pending. Every reader and writer calls it first.
    void Settle() const {
        if (pending_.active || unwritten_) {
            SettleRows();
        }
    }
    void SettleRows() const;
    void FillRows(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                  Colour colour);
    void PlotPen(std::int32_t x, std::int32_t y);
    void LineToOtherwise(std::int32_t x, std::int32_t y);
    void SetTopOfPendingColumn(std::int32_t x);
    void StartPendingColumn(std::int32_t x, std::int32_t top, std::int32_t bottom);
    // Any write but a fill: no rectangle is known to be of one colour any more.
    void Touched() { solid_.reset(); }
    bool Uniform() const { return solid_ && solid_->rect == Rect{0, 0, width_, height_}; }

    std::int32_t width_;
    std::int32_t height_;
    // Vertical lines over the same rows of a surface whose rows were all alike: only the top
    // row is drawn, rows top + 1 to bottom - 1 of columns left to right - 1 are copies of it
    // still to be made. A barcode's bars are exactly that, and row copies are fast.
    struct PendingRows {
        bool active = false;
        std::int32_t top = 0;
        std::int32_t bottom = 0;
        std::int32_t left = 0;
        std::int32_t right = 0;
    };

    // A rectangle every pixel of which is known to be one colour: the last fill, until
    // anything else draws. Filling the whole surface again in that colour is then free, and
    // text over it takes every pixel's colour from its coverage alone.
    struct SolidRect {
        Rect rect;
        Colour colour = 0;
    };

    mutable std::shared_ptr<std::vector<std::uint8_t>> pixels_;
    mutable PendingRows pending_;
    std::optional<SolidRect> solid_;
    // A fill of the whole surface is only noted: its rows are written when read or drawn
    // over, so rows a drawing then replaces (the bars' copies) are written once. While this
    // is set, every row is unwrittenColour_ except the pending top row, which is written.
    mutable bool unwritten_ = false;
    Colour unwrittenColour_ = 0;
    Colour background_;
    Colour textColour_ = kBlack;
    std::shared_ptr<const Font> font_;
};

}  // namespace qv::symbology
