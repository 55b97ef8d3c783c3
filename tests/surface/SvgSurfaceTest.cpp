#include "surface/SvgSurface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/FixedFont.h"
#include "support/PixelText.h"
#include "surface/RasterSurface.h"

namespace qv::surface {
namespace {

using testing::PictureText;

// Paints the document's filled rects onto a raster, as a viewer with crisp edges would.
RasterSurface Rasterise(const SvgSurface& svg) {
    const std::string document = svg.Document();
    RasterSurface raster(svg.width(), svg.height());
    for (std::size_t at = document.find("<rect x="); at != std::string::npos;
         at = document.find("<rect x=", at + 1)) {
        int x = 0, y = 0, w = 0, h = 0;
        unsigned rgb = 0;
        if (std::sscanf(document.c_str() + at,
                        "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%6x\"", &x, &y,
                        &w, &h, &rgb) == 5) {
            raster.FillRect({x, y, x + w, y + h}, MakeColour(rgb >> 16, rgb >> 8, rgb));
        }
    }
    return raster;
}

// Axis lines of any pen width, off the surface, upwards or of no length, and fills between
// them, show the raster surface's pixels, later drawing on top.
TEST(SvgSurfaceTest, AxisLinesAndFillsShowTheRasterSurfacesPixels) {
    struct Step {
        std::int32_t x0, y0, x1, y1, penWidth;  // pen width 0: a white fill of that rect
    };
    const Step steps[] = {
        {3, 2, 3, 9, 1},
        {4, 9, 4, 2, 1},
        {5, 2, 5, 10, 1},
        {0, 12, 9, 12, 1},
        {9, 13, 0, 13, 1},
        {12, 3, 12, 8, 3},
        {2, 16, 8, 16, 2},
        {-3, 18, 30, 18, 1},
        {17, -4, 17, 40, 1},
        {19, 19, 19, 0, 4},
        {7, 5, 7, 5, 1},
        // A bar beside earlier ones, after a fill over them: it must not merge under the fill.
        {0, 6, 6, 8, 0},
        {6, 2, 6, 9, 1},
    };
    SvgSurface svg(20, 20);
    RasterSurface raster(20, 20);
    for (const Step& step : steps) {
        for (DrawingSurface* surface :
             {static_cast<DrawingSurface*>(&svg), static_cast<DrawingSurface*>(&raster)}) {
            if (step.penWidth == 0) {
                surface->FillRect({step.x0, step.y0, step.x1, step.y1}, kWhite);
                continue;
            }
            surface->SelectPen({kBlack, step.penWidth});
            surface->MoveTo(step.x0, step.y0);
            surface->LineTo(step.x1, step.y1);
        }
    }
    EXPECT_EQ(PictureText(Rasterise(svg)), PictureText(raster));
}

// A caption is text clipped to its box, over the text's own cell in the background colour
// when opaque; a slanted line is a line element through the pixel centres.
TEST(SvgSurfaceTest, DocumentWithCaptionAndSlantedLine) {
    const Colour background = MakeColour(0x12, 0x34, 0x56);
    SvgSurface svg(100, 40, background);
    RasterSurface raster(100, 40, background);
    const auto font = std::make_shared<testing::FixedFont>(20.0f, 13.0f);
    svg.SetFont(font, 11.0f);
    raster.SetFont(font);
    for (const int mode : {kTransparent, kOpaque}) {
        const auto caption = [mode](auto& surface) {
            surface.SetBkColor(kWhite);
            surface.SetBkMode(mode);
            surface.DrawText("A&B <\xE9\x80>", {10, 5, 61, 35}, kCaptionFormat);
        };
        caption(svg);
        caption(raster);
        EXPECT_EQ(PictureText(Rasterise(svg)), PictureText(raster)) << mode;
    }
    EXPECT_EQ(svg.SelectPen({kBlack, 3}), Pen{});
    svg.MoveTo(1, 1);
    svg.LineTo(6, 4);

    const std::string document = svg.Document();
    EXPECT_EQ(document.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_NE(document.find(" width=\"100\" height=\"40\" viewBox=\"0 0 100 40\""),
              std::string::npos);
    EXPECT_NE(document.find("shape-rendering=\"crispEdges\""), std::string::npos);
    EXPECT_NE(document.find("<clipPath id=\"clip1\"><rect x=\"10\" y=\"5\" width=\"51\" "
                            "height=\"30\"/></clipPath>"),
              std::string::npos);
    // 11-pixel line: 13 rows, the baseline 3 rows above the box's bottom.
    EXPECT_NE(document.find("<text x=\"35.5\" y=\"32\" font-family=\"sans-serif\" "
                            "font-size=\"11\" text-anchor=\"middle\""),
              std::string::npos);
    EXPECT_NE(document.find("clip-path=\"url(#clip1)\">A&amp;B &lt;\u00E9\u20AC&gt;</text>"),
              std::string::npos);
    EXPECT_NE(document.find("<line x1=\"1.5\" y1=\"1.5\" x2=\"6.5\" y2=\"4.5\""),
              std::string::npos);
    EXPECT_EQ(document.substr(document.size() - 7), "</svg>\n");
}

}  // namespace
}  // namespace qv::surface
