#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "symbology/DrawingSurface.h"
#include "symbology/Font.h"

namespace qv::symbology {

// A 24-bit in-memory picture with the drawing state of a device context: current pen and
// position, background colour and mode, text colour and font.
class RasterSurface final : public DrawingSurface {
  public:
    // Sizes above this many pixels are refused as out of memory.
    static constexpr std::int64_t kMaxPixels = std::int64_t{64} * 1024 * 1024;

    // Raises the failed call: invalid value for a negative size, out of memory above kMaxPixels.
    RasterSurface(std::int32_t width, std::int32_t height, Colour background = kWhite);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    Colour PixelAt(std::int32_t x, std::int32_t y) const;
    void SetPixel(std::int32_t x, std::int32_t y, Colour colour);
    // Rows of width * 3 bytes in R, G, B order, top row first.
    const std::uint8_t* RowData(std::int32_t y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * RowBytes();
    }
    std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * 3; }

    // Copies source's pixels with its top-left corner at (x, y), clipped to this surface.
    void Blit(const RasterSurface& source, std::int32_t x, std::int32_t y);

    void SetBkColor(Colour colour) { background_ = colour; }
    void SetTextColor(Colour colour) { textColour_ = colour; }
    Colour textColor() const { return textColour_; }
    void SetFont(std::shared_ptr<const Font> font) { font_ = std::move(font); }
    int bkMode() const { return bkMode_; }

    Colour GetBkColor() const override { return background_; }
    void FillRect(const Rect& rect, Colour brushColour) override;
    Pen SelectPen(const Pen& pen) override;
    void MoveTo(std::int32_t x, std::int32_t y) override;
    void LineTo(std::int32_t x, std::int32_t y) override;
    int SetBkMode(int mode) override;
    void DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) override;

  private:
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    std::uint8_t* PixelPointer(std::int32_t x, std::int32_t y) {
        return pixels_.data() + static_cast<std::size_t>(y) * RowBytes() +
               static_cast<std::size_t>(x) * 3;
    }
    void PlotPen(std::int32_t x, std::int32_t y);
    void BlendInk(std::int32_t x, std::int32_t y, std::uint8_t coverage);

    std::int32_t width_;
    std::int32_t height_;
    std::vector<std::uint8_t> pixels_;
    Colour background_;
    Colour textColour_ = kBlack;
    int bkMode_ = kOpaque;
    Pen pen_;
    std::int32_t penX_ = 0;
    std::int32_t penY_ = 0;
    std::shared_ptr<const Font> font_;
};

}  // namespace qv::symbology
