// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#include <qvbarcode/surface/RasterSurface.h>

namespace qv::surface {

// The pixel rows of a host's own picture, in the usual device-independent bitmap layouts:
// blue, green, red, and with four bytes a fourth that drawing leaves as it is. block is the
// lowest address; a negative stride stores the rows bottom-up, the top row last.
struct HostPixels {
    std::uint8_t* block = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;
    std::int32_t bitsPerPixel = 24;  // 24 or 32

    int BytesPerPixel() const { return bitsPerPixel / 8; }
    // The bytes from block to the end of the last pixel.
    std::size_t Span() const;
    std::uint8_t* Row(std::int32_t y) const;
};

// Raises the invalid-value failed call for rows that cannot hold the pixels: no block, a
// negative size, a stride shorter than a row, bits per pixel other than 24 and 32.
void CheckHostPixels(const HostPixels& pixels);

// Copies the surface's pixels of a rectangle inside both into the host's rows, or back.
void CopyToHost(const RasterSurface& from, const Rect& area, const HostPixels& to);
void CopyFromHost(const HostPixels& from, const Rect& area, RasterSurface& to);

// A drawing surface over pixels the host owns. Each operation is drawn by the raster
// surface's own code onto a copy of the area it can touch, taken from the host's rows just
// before and written back just after: the host's pixels are exactly the raster surface's for
// the same drawing, and the host may change its rows between operations. It starts with a
// white background, black text and the control's font, as a device context does.
class HostMemorySurface final : public DrawingSurface {
  public:
    // Raises what CheckHostPixels raises, and out of memory above RasterSurface::kMaxPixels.
    explicit HostMemorySurface(const HostPixels& pixels);

    // The host takes its memory back: later drawing no longer reaches it.
    void Detach() noexcept { attached_ = false; }
    std::int32_t width() const { return raster_.width(); }
    std::int32_t height() const { return raster_.height(); }

    Colour GetBkColor() const override { return raster_.GetBkColor(); }
    void FillRect(const Rect& rect, Colour brushColour) override;
    Pen SelectPen(const Pen& pen) override { return raster_.SelectPen(pen); }
    void MoveTo(std::int32_t x, std::int32_t y) override { raster_.MoveTo(x, y); }
    void LineTo(std::int32_t x, std::int32_t y) override;
    void DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                     std::int32_t bottom) override;
    int SetBkMode(int mode) override { return raster_.SetBkMode(mode); }
    void DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) override;

  private:
    // Brings the area in, draws, writes it back; the area is clipped to the surface here. An
    // operation that sets every pixel of its area needs nothing brought in.
    enum class Area { Read, Overwritten };
    template <typename Draw>
    void Through(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                 Area area, Draw&& draw);
    // Everything a pen line from (x0, y0) to (x1, y1) can cover, the pen's width included.
    template <typename Draw>
    void ThroughLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                     Draw&& draw);

    HostPixels pixels_;
    // Draws, and keeps the pen, its position and the background mode.
    RasterSurface raster_;
    bool attached_ = true;
};

}  // namespace qv::surface
