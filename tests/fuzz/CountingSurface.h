#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "FuzzCheck.h"
#include "surface/RasterSurface.h"

namespace qv::fuzz {

// A caller's surface as a host hands it over: a raster picture behind a decorator that counts
// pen selections, follows the background mode and remembers the area the operations asked to
// change, so a drawing can be checked for leaked pens and for pixels written elsewhere.
class CountingSurface final : public surface::DrawingSurface {
  public:
    // The pen a host had selected before the control drew; it must be current again after.
    static constexpr surface::Pen kHostPen{0x123456, 1};

    CountingSurface(std::int32_t width, std::int32_t height, surface::Colour background, int bkMode)
        : raster_(width, height, background), bkMode_(bkMode) {
        raster_.SelectPen(kHostPen);
        raster_.SetBkMode(bkMode);
    }

    surface::RasterSurface& raster() { return raster_; }

    // Call before a drawing: takes a snapshot and forgets what earlier drawings asked for.
    void BeginDrawing() {
        selections_ = 0;
        current_ = kHostPen;
        startMode_ = bkMode_;
        touched_ = Box{};
        snapshot_ = raster_.ContiguousPixels();
    }

    // After a drawing, finished or ended by a failed call: every pen selected was put back,
    // the background mode is the host's again, and no pixel outside the asked-for area changed.
    void CheckDrawingLeftNoTrace() const {
        QV_REQUIRE(selections_ % 2 == 0 && current_ == kHostPen && bkMode_ == startMode_);
        const std::vector<std::uint8_t> pixels = raster_.ContiguousPixels();
        const std::uint8_t* now = pixels.data();
        for (std::size_t at = 0; at < Bytes(); at += 3) {
            const auto pixel = static_cast<std::int64_t>(at / 3);
            QV_REQUIRE(touched_.Contains(pixel % raster_.width(), pixel / raster_.width()) ||
                       std::equal(now + at, now + at + 3, snapshot_.begin() + at));
        }
    }

    surface::Colour GetBkColor() const override { return raster_.GetBkColor(); }
    void FillRect(const surface::Rect& rect, surface::Colour brush) override {
        Touch(rect);
        raster_.FillRect(rect, brush);
    }
    surface::Pen SelectPen(const surface::Pen& pen) override {
        ++selections_;
        current_ = pen;
        return raster_.SelectPen(pen);
    }
    void MoveTo(std::int32_t x, std::int32_t y) override {
        penX_ = x;
        penY_ = y;
        raster_.MoveTo(x, y);
    }
    void LineTo(std::int32_t x, std::int32_t y) override {
        const std::int64_t reach = std::max(current_.width, 1);
        touched_.Add(std::min(penX_, x) - reach, std::min(penY_, y) - reach,
                     std::max(penX_, x) + reach, std::max(penY_, y) + reach);
        penX_ = x;
        penY_ = y;
        raster_.LineTo(x, y);
    }
    int SetBkMode(int mode) override {
        bkMode_ = mode;
        return raster_.SetBkMode(mode);
    }
    void DrawText(std::string_view text, const surface::Rect& rect, unsigned format) override {
        constexpr unsigned kNoClip = 0x100;
        Touch(format & kNoClip ? surface::Rect{0, 0, raster_.width(), raster_.height()} : rect);
        raster_.DrawText(text, rect, format);
    }

  private:
    // The inclusive bounding box of everything asked for.
    struct Box {
        std::int64_t left = std::numeric_limits<std::int64_t>::max(), top = left;
        std::int64_t right = std::numeric_limits<std::int64_t>::min(), bottom = right;
        void Add(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
            if (l <= r && t <= b) {
                *this = {std::min(left, l), std::min(top, t), std::max(right, r),
                         std::max(bottom, b)};
            }
        }
        bool Contains(std::int64_t x, std::int64_t y) const {
            return x >= left && x <= right && y >= top && y <= bottom;
        }
    };
    void Touch(const surface::Rect& r) {
        touched_.Add(r.left, r.top, std::int64_t{r.right} - 1, std::int64_t{r.bottom} - 1);
    }
    std::size_t Bytes() const {
        return raster_.RowBytes() * static_cast<std::size_t>(raster_.height());
    }

    surface::RasterSurface raster_;
    int bkMode_;
    int startMode_ = 0;
    int selections_ = 0;
    surface::Pen current_ = kHostPen;
    std::int32_t penX_ = 0;
    std::int32_t penY_ = 0;
    Box touched_;
    std::vector<std::uint8_t> snapshot_;
};

}  // namespace qv::fuzz
