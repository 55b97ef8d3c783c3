#include "surface/SvgSurface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/FixedFont.h"
#include "surface/RasterSurface.h"

namespace qv::surface {
namespace {

// The filled rect elements of the document, each as "x,y,width,height,fill".
std::vector<std::string> Rects(const SvgSurface& svg) {
    const std::string document = svg.Document();
    std::vector<std::string> result;
    for (std::size_t at = document.find("<rect x="); at != std::string::npos;
         at = document.find("<rect x=", at + 1)) {
        int x = 0, y = 0, w = 0, h = 0;
        char fill[8] = {};
        if (std::sscanf(document.c_str() + at,
                        "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"%7[#0-9a-f]", &x,
                        &y, &w, &h, fill) == 5) {
            result.push_back(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) +
                             "," + std::to_string(h) + "," + fill);
        }
    }
    return result;
}

void Bar(SvgSurface& svg, std::int32_t x, std::int32_t y0, std::int32_t y1) {
    svg.MoveTo(x, y0);
    svg.LineTo(x, y1);
}

TEST(SvgSurfaceTest, DocumentHeader) {
    SvgSurface svg(30, 20, MakeColour(0x12, 0x34, 0x56));
    const std::string document = svg.Document();
    EXPECT_EQ(document.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_NE(document.find(" width=\"30\" height=\"20\" viewBox=\"0 0 30 20\""),
              std::string::npos);
    EXPECT_NE(document.find("shape-rendering=\"crispEdges\""), std::string::npos);
    EXPECT_EQ(Rects(svg), std::vector<std::string>{"0,0,30,20,#123456"});
    EXPECT_EQ(document.substr(document.size() - 7), "</svg>\n");
}

// Paints the document's rects onto a raster, as a viewer with crisp edges would.
RasterSurface Rasterise(const SvgSurface& svg) {
    RasterSurface raster(svg.width(), svg.height());
    for (const std::string& rect : Rects(svg)) {
        int x = 0, y = 0, w = 0, h = 0;
        unsigned colour = 0;
        std::sscanf(rect.c_str(), "%d,%d,%d,%d,#%x", &x, &y, &w, &h, &colour);
        raster.FillRect({x, y, x + w, y + h},
                        MakeColour(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF));
    }
    return raster;
}

TEST(SvgSurfaceTest, AxisLinesCoverTheRasterSurfacesPixels) {
    struct Line {
        std::int32_t x0, y0, x1, y1, penWidth;
    };
    const Line lines[] = {
        {3, 2, 3, 9, 1},     {4, 9, 4, 2, 1},    {5, 2, 5, 10, 1},  {0, 12, 9, 12, 1},
        {9, 13, 0, 13, 1},   {12, 3, 12, 8, 3},  {2, 16, 8, 16, 2}, {-3, 18, 30, 18, 1},
        {17, -4, 17, 40, 1}, {19, 19, 19, 0, 4}, {7, 5, 7, 5, 1},
    };
    SvgSurface svg(20, 20);
    RasterSurface raster(20, 20);
    for (const Line& line : lines) {
        for (DrawingSurface* surface :
             {static_cast<DrawingSurface*>(&svg), static_cast<DrawingSurface*>(&raster)}) {
            surface->SelectPen({kBlack, line.penWidth});
            surface->MoveTo(line.x0, line.y0);
            surface->LineTo(line.x1, line.y1);
        }
    }
    const RasterSurface painted = Rasterise(svg);
    for (std::int32_t y = 0; y < raster.height(); ++y) {
        for (std::int32_t x = 0; x < raster.width(); ++x) {
            EXPECT_EQ(painted.PixelAt(x, y), raster.PixelAt(x, y)) << x << ", " << y;
        }
    }
}

TEST(SvgSurfaceTest, LaterDrawingStaysOnTop) {
    SvgSurface svg(20, 10);
    Bar(svg, 2, 0, 10);
    svg.FillRect({0, 6, 20, 10}, kWhite);
    Bar(svg, 3, 0, 10);  // adjacent to the first bar, but must not merge under the fill
    EXPECT_EQ(svg.SelectPen({kBlack, 3}), Pen{});
    svg.MoveTo(1, 1);
    svg.LineTo(6, 4);
    EXPECT_EQ(svg.SelectPen(Pen{}), (Pen{kBlack, 3}));
    EXPECT_EQ(Rects(svg), (std::vector<std::string>{
                              "0,0,20,10,#ffffff",
                              "2,0,1,10,#000000",
                              "0,6,20,4,#ffffff",
                              "3,0,1,10,#000000",
                          }));
    EXPECT_NE(svg.Document().find("<line x1=\"1.5\" y1=\"1.5\" x2=\"6.5\" y2=\"4.5\""),
              std::string::npos);
}

TEST(SvgSurfaceTest, CaptionIsEscapedCentredAndClipped) {
    SvgSurface svg(100, 40);
    svg.SetFont(std::make_shared<testing::FixedFont>(20.0f, 13.0f), 11.0f);
    svg.SetBkMode(kTransparent);
    svg.DrawText("A&B <\xE9\x80>", {10, 5, 61, 35}, kCaptionFormat);
    const std::string document = svg.Document();
    EXPECT_NE(document.find("<clipPath id=\"clip1\"><rect x=\"10\" y=\"5\" width=\"51\" "
                            "height=\"30\"/></clipPath>"),
              std::string::npos);
    // 11-pixel line: 13 rows, the baseline 3 rows above the box's bottom.
    EXPECT_NE(document.find("<text x=\"35.5\" y=\"32\" font-family=\"sans-serif\" "
                            "font-size=\"11\" text-anchor=\"middle\""),
              std::string::npos);
    EXPECT_NE(document.find("clip-path=\"url(#clip1)\">A&amp;B &lt;\u00E9\u20AC&gt;</text>"),
              std::string::npos);
    EXPECT_EQ(Rects(svg).size(), 1u) << "transparent text paints no background";

    svg.SetBkMode(kOpaque);
    svg.DrawText("1", {10, 5, 61, 35}, kCaptionFormat);
    // The text's own 20 x 13 cell, centred in the box and standing on its bottom.
    EXPECT_EQ(Rects(svg).back(), "25,22,20,13,#ffffff");
}

}  // namespace
}  // namespace qv::surface
