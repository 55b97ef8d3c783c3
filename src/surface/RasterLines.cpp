// SPDX-License-Identifier: MIT
// The raster surface's pen: lines, and the columns barcodes are made of.
#include <algorithm>
#include <cstring>

#include <qvbarcode/surface/LineSteps.h>
#include <qvbarcode/surface/PixelFill.h>
#include <qvbarcode/surface/RasterSurface.h>

namespace qv::surface {

void RasterSurface::PlotPen(std::int32_t x, std::int32_t y) {
    if (pen_.width <= 1) {
        SetPixel(x, y, pen_.colour);
        return;
    }
    const std::int32_t half = pen_.width / 2;
    FillRect({x - half, y - half, x - half + pen_.width, y - half + pen_.width}, pen_.colour);
}

void RasterSurface::ShareRows(std::int32_t top, std::int32_t bottom) {
    Touched();
    rows_.ShareRow(top, bottom);
}

void RasterSurface::DrawSharedColumn(std::int32_t x) {
    std::uint8_t* p = rows_.SharedRow() + static_cast<std::size_t>(x) * 3;
    p[0] = RedOf(pen_.colour);
    p[1] = GreenOf(pen_.colour);
    p[2] = BlueOf(pen_.colour);
}

// A bar of a barcode: inside the surface, over the rows of the bars before it or over a
// surface of one colour, it is one span of the top row. Anything else goes column by column.
void RasterSurface::DrawColumns(std::int32_t left, std::int32_t right, std::int32_t top,
                                std::int32_t bottom) {
    // With a thin pen only the part on the surface is drawn, as each column's LineTo clips
    // it (a column drawn upwards takes the rows below top down to bottom + 1); the pen ends
    // where the whole run leaves it.
    if (pen_.width <= 1 && left < right) {
        const std::int64_t first = top <= bottom ? top : std::int64_t{bottom} + 1;
        const std::int64_t last = top <= bottom ? bottom : std::int64_t{top} + 1;
        const std::int32_t from = std::max(left, 0);
        const std::int32_t to = std::min(right, width());
        const auto rowsFrom = static_cast<std::int32_t>(std::max<std::int64_t>(first, 0));
        const auto rowsTo = static_cast<std::int32_t>(std::min<std::int64_t>(last, height()));
        const bool clipped = from != left || to != right || rowsFrom != top || rowsTo != bottom;
        if (clipped || from >= to || rowsFrom >= rowsTo) {
            if (from < to && rowsFrom < rowsTo) {
                DrawColumns(from, to, rowsFrom, rowsTo);
            }
            penX_ = right - 1;
            penY_ = bottom;
            return;
        }
    }
    if (left >= right || left < 0 || right > width() || top < 0 || bottom > height() ||
        top >= bottom || pen_.width > 1) {
        DrawingSurface::DrawColumns(left, right, top, bottom);
        return;
    }
    if (!rows_.Shares(top, bottom)) {
        if (!Uniform() || bottom - top < 2) {
            DrawingSurface::DrawColumns(left, right, top, bottom);
            return;
        }
        ShareRows(top, bottom);
    }
    const std::uint8_t rgb[3] = {RedOf(pen_.colour), GreenOf(pen_.colour), BlueOf(pen_.colour)};
    FillSpan(rows_.SharedRow() + static_cast<std::size_t>(left) * 3,
             static_cast<std::size_t>(right - left) * 3, rgb);
    penX_ = right - 1;
    penY_ = bottom;
}

// Once the first run has made the rows alike, every further run over them is one span of
// the top row: checked and written here without a call per bar.
void RasterSurface::DrawColumnRuns(std::span<const ColumnRun> runs, std::int32_t top,
                                   std::int32_t bottom) {
    const std::uint8_t rgb[3] = {RedOf(pen_.colour), GreenOf(pen_.colour), BlueOf(pen_.colour)};
    const bool grey = rgb[0] == rgb[1] && rgb[1] == rgb[2];
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (!rows_.Shares(top, bottom) || pen_.width > 1) {
            DrawColumns(runs[i].left, runs[i].right, top, bottom);
            continue;
        }
        std::uint8_t* const row = rows_.SharedRow();
        for (; i < runs.size(); ++i) {
            const ColumnRun run = runs[i];
            if (run.left >= run.right || run.left < 0 || run.right > width()) {
                DrawColumns(run.left, run.right, top, bottom);
                break;
            }
            std::uint8_t* const first = row + static_cast<std::size_t>(run.left) * 3;
            const auto bytes = static_cast<std::size_t>(run.right - run.left) * 3;
            if (bytes <= 6) {
                // A bar of one or two pixels, most bars at one pixel a module: its first and
                // last pixel, the same one for a single pixel, without a branch on its width.
                std::memcpy(first, rgb, 3);
                std::memcpy(first + bytes - 3, rgb, 3);
            } else if (grey && bytes >= 8) {
                FillGreyWords(first, bytes, rgb[0]);
            } else {
                FillSpan(first, bytes, rgb);
            }
            penX_ = run.right - 1;
            penY_ = bottom;
        }
    }
}

void RasterSurface::LineTo(std::int32_t x, std::int32_t y) {
    // The next bar of a run over the same rows, most of any barcode: only its top pixel is
    // drawn.
    if (x == penX_ && pen_.width <= 1 && x >= 0 && x < width() && rows_.Shares(penY_, y)) {
        DrawSharedColumn(x);
        penY_ = y;
        return;
    }
    LineToOtherwise(x, y);
}

// Every other line: the first bar of a run, bars over other rows, wide pens, slants.
void RasterSurface::LineToOtherwise(std::int32_t x, std::int32_t y) {
    const std::int64_t cx = penX_;
    const std::int64_t cy = penY_;
    const int sy = cy < y ? 1 : -1;
    if (cx == x) {
        // Vertical bars are the whole workload: clip the span instead of walking it off-surface.
        if (x >= 0 && x < width() && cy != y) {
            const std::int64_t first = sy > 0 ? cy : std::int64_t{y} + 1;
            const std::int64_t last = sy > 0 ? std::int64_t{y} - 1 : cy;
            const auto top = static_cast<std::int32_t>(std::max<std::int64_t>(first, 0));
            const auto bottom =
                static_cast<std::int32_t>(std::min<std::int64_t>(last, height() - 1)) + 1;
            if (pen_.width > 1) {
                for (std::int32_t row = top; row < bottom; ++row) {
                    PlotPen(x, row);
                }
            } else if (rows_.Shares(top, bottom)) {
                DrawSharedColumn(x);
            } else if (Uniform() && bottom - top > 1) {
                ShareRows(top, bottom);
                DrawSharedColumn(x);
            } else if (top < bottom) {
                // One pixel per row straight into the column, no per-pixel checks.
                Touched();
                const std::uint8_t r = RedOf(pen_.colour);
                const std::uint8_t g = GreenOf(pen_.colour);
                const std::uint8_t b = BlueOf(pen_.colour);
                const std::size_t stride = RowBytes();
                std::uint8_t* p = rows_.WritableRows(top, bottom) +
                                  static_cast<std::size_t>(top) * stride +
                                  static_cast<std::size_t>(x) * 3;
                for (std::int32_t row = top; row < bottom; ++row, p += stride) {
                    p[0] = r;
                    p[1] = g;
                    p[2] = b;
                }
            }
        }
    } else {
        ForEachLinePixel(cx, cy, x, y, [this](std::int64_t px, std::int64_t py) {
            PlotPen(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py));
        });
    }
    penX_ = x;
    penY_ = y;
}

}  // namespace qv::surface
