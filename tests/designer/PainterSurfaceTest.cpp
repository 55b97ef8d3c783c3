// SPDX-License-Identifier: MIT
// The painter surface gives the pixels a raster surface gives, operation by operation: the
// control draws only fills, one-pixel bars and caption texts on it. The PDF label example
// reads a whole barcode back.
#include <gtest/gtest.h>

#include <QPainter>
#include <functional>

#include <qvbarcode/QPainterSurface.h>
#include "QtTestApplication.h"

namespace qv::designer::test {
namespace {

using surface::DrawingSurface;
using surface::RasterSurface;

constexpr surface::Colour kRed = surface::MakeColour(255, 0, 0);

TEST(PainterSurface, OperationsSetTheSamePixelsAsARasterSurface) {
    struct Case {
        const char* what;
        std::function<void(DrawingSurface&)> draw;
        int tolerance;  // antialiased text may blend a step apart; places and clips must agree
    };
    // Each case keeps its operations apart on the surface, so none hides another's pixels.
    const Case cases[] = {
        {"fills: half-open, clipped to the surface, empty and inverted",
         [](DrawingSurface& s) {
             s.FillRect({5, 3, 10, 5}, kRed);
             s.FillRect({-5, -5, 3, 100}, kRed);
             s.FillRect({6, 8, 6, 12}, kRed);
             s.FillRect({14, 14, 9, 9}, kRed);
         },
         0},
        {"bars down and up leave out their end rows, past the edges, on from the last end; "
         "a diagonal; a wide pen, the old one restored",
         [](DrawingSurface& s) {
             const auto line = [&s](int x0, int y0, int x1, int y1) {
                 s.MoveTo(x0, y0);
                 s.LineTo(x1, y1);
             };
             line(10, 2, 10, 8);
             line(12, 8, 12, -3);
             line(3, -10, 3, 40);
             line(7, 18, 7, 11);
             s.LineTo(7, 17);
             line(20, 0, 26, 4);
             const surface::Pen old = s.SelectPen({kRed, 3});
             line(16, 2, 16, 10);
             s.SelectPen(old);
             line(30, 16, 36, 16);
         },
         0},
        {"opaque and transparent text, placed and clipped",
         [](DrawingSurface& s) {
             s.FillRect({0, 0, 60, 30}, surface::MakeColour(200, 220, 240));
             s.DrawText("12345678901234", {8, 4, 40, 24}, surface::kCaptionFormat);
             s.SetBkMode(surface::kTransparent);
             s.DrawText("Wide\xE9", {-20, 20, 30, 40}, surface::kCaptionFormat);
         },
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RasterSurface raster(60, 30);
        c.draw(raster);
        QImage image(60, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            widget::QPainterSurface surface(painter, image.size());
            c.draw(surface);
        }
        EXPECT_EQ(FirstDifference(raster, image, c.tolerance), "");
    }
}

}  // namespace
}  // namespace qv::designer::test
