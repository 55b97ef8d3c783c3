// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include <qvbarcode/host/Export.h>
#include <qvbarcode/surface/Colour.h>

namespace qv::surface {

// Half-open: left <= x < right, top <= y < bottom.
struct QV_EXPORT Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The pen lines are drawn with; a surface starts with a one-pixel black pen.
struct QV_EXPORT Pen {
    Colour colour = kBlack;
    std::int32_t width = 1;
    friend bool operator==(const Pen&, const Pen&) = default;
};

enum BackgroundMode : int { kTransparent = 1, kOpaque = 2 };

// Text format bits of DrawText: the caption's, one line centred at the foot of its box.
enum TextFormat : unsigned {
    kCentre = 0x01,
    kBottom = 0x08,
    kSingleLine = 0x20,
};
constexpr unsigned kCaptionFormat = kSingleLine | kBottom | kCentre;  // 41

// A half-open run of columns, left <= x < right.
struct QV_EXPORT ColumnRun {
    std::int32_t left = 0;
    std::int32_t right = 0;
};

// The narrow set of drawing operations the barcode pipeline uses. Implementations give
// each the pixel behaviour described here, whatever the medium.
class QV_EXPORT DrawingSurface {
  public:
    virtual ~DrawingSurface() = default;

    virtual Colour GetBkColor() const = 0;
    // Sets every pixel of the half-open rectangle, clipped to the surface.
    virtual void FillRect(const Rect& rect, Colour brushColour) = 0;
    // Makes the pen current and returns the one it replaces.
    virtual Pen SelectPen(const Pen& pen) = 0;
    virtual void MoveTo(std::int32_t x, std::int32_t y) = 0;
    // Draws from the current position to (x, y), the end point excluded, and moves there.
    virtual void LineTo(std::int32_t x, std::int32_t y) = 0;
    // Vertical lines from (x, top) to (x, bottom) for every x from left to right - 1: what
    // MoveTo and LineTo draw column by column, ending at (right - 1, bottom). A barcode's
    // bars are runs of such columns; a surface that can draw a run at once overrides it.
    virtual void DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                             std::int32_t bottom) {
        for (std::int32_t x = left; x < right; ++x) {
            MoveTo(x, top);
            LineTo(x, bottom);
        }
    }
    // DrawColumns for each run in turn, left to right: all the bars of a barcode in one call.
    virtual void DrawColumnRuns(std::span<const ColumnRun> runs, std::int32_t top,
                                std::int32_t bottom) {
        for (const ColumnRun& run : runs) {
            DrawColumns(run.left, run.right, top, bottom);
        }
    }
    // DrawColumnRuns with every run narrower by reduction pixels, half taken from each side:
    // here by the nearest whole number of pixels, the left side taking the smaller half. A
    // surface that draws shapes instead of pixels overrides it to narrow exactly.
    virtual void DrawNarrowedRuns(std::span<const ColumnRun> runs, double reduction,
                                  std::int32_t top, std::int32_t bottom) {
        const auto whole = static_cast<std::int64_t>(std::nearbyint(reduction));
        const std::int64_t left = whole / 2, right = whole - whole / 2;
        std::vector<ColumnRun> narrowed;
        narrowed.reserve(runs.size());
        for (const ColumnRun& run : runs) {
            if (run.right - std::int64_t{run.left} > whole) {
                narrowed.push_back({static_cast<std::int32_t>(run.left + left),
                                    static_cast<std::int32_t>(run.right - right)});
            }
        }
        DrawColumnRuns(narrowed, top, bottom);
    }
    // Returns the previous mode.
    virtual int SetBkMode(int mode) = 0;
    // One line of text in the Windows-1252 code page, placed in the rectangle as the format
    // bits say and clipped to it, in the surface's font and text colour.
    virtual void DrawText(std::string_view windows1252Text, const Rect& rect, unsigned format) = 0;
};

// The part of a device context's state every medium keeps alike: the selected pen, the
// current position and the background mode. Surfaces derive from it and do the drawing.
class QV_EXPORT PenAndModeState : public DrawingSurface {
  public:
    Pen SelectPen(const Pen& pen) override { return std::exchange(pen_, pen); }
    void MoveTo(std::int32_t x, std::int32_t y) override {
        penX_ = x;
        penY_ = y;
    }
    int SetBkMode(int mode) override { return std::exchange(bkMode_, mode); }
    int bkMode() const { return bkMode_; }
    const Pen& pen() const { return pen_; }
    std::int32_t penX() const { return penX_; }
    std::int32_t penY() const { return penY_; }

  protected:
    Pen pen_;
    std::int32_t penX_ = 0;
    std::int32_t penY_ = 0;
    int bkMode_ = kOpaque;
};

}  // namespace qv::surface
