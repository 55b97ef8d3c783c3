// The raster surface, and the SVG surface checked against it.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/FailureOf.h"
#include "support/FixedFont.h"
#include "support/PixelText.h"
#include "surface/RasterSurface.h"
#include "surface/SvgSurface.h"

namespace qv::surface {
namespace {

using host::FailureReason;
using testing::ColumnText;
using testing::FailureOf;
using testing::PictureText;

TEST(RasterSurfaceTest, FillsLinesAndCopiesAreClipped) {
    RasterSurface s(6, 3);
    s.FillRect({1, 1, 3, 2}, kBlack);
    s.FillRect({4, -5, 99, 99}, MakeColour(0xFF, 0, 0));
    s.FillRect({3, 0, 3, 3}, kBlack);  // empty: nothing
    s.FillRect({2, 2, 1, 1}, kBlack);  // inverted: nothing
    EXPECT_EQ(PictureText(s), "....--/.##.--/....--");

    RasterSurface lines(6, 2);
    lines.MoveTo(1, 0);
    lines.LineTo(4, 0);
    lines.MoveTo(4, 1);
    lines.LineTo(1, 1);
    EXPECT_EQ(PictureText(lines), ".###../..###.");
    RasterSurface wide(6, 4);
    EXPECT_EQ(wide.SelectPen({kBlack, 3}), Pen{});
    wide.MoveTo(2, 1);
    wide.LineTo(2, 2);
    EXPECT_EQ(PictureText(wide), ".###../.###../.###../......");

    RasterSurface target(4, 4);
    target.Blit(RasterSurface(3, 3, kBlack), -2, 2);
    target.Blit(RasterSurface(3, 3, kBlack), 3, -2);
    EXPECT_EQ(PictureText(target), "...#/..../#.../#...");
}

TEST(RasterSurfaceTest, LinesExcludeTheirEndPoint) {
    struct Case {
        std::int32_t x0, y0, x1, y1;
        std::string column;  // column 2 of an 8-pixel-high surface
        const char* why;
    };
    const Case cases[] = {
        {2, 1, 2, 5, ".####...", "downwards: y0 to y1 - 1"},
        {2, 5, 2, 1, "..####..", "upwards: y1 + 1 to y0"},
        {2, -3, 2, 3, "###.....", "starts above the surface"},
        {2, 6, 2, 20, "......##", "ends below the surface"},
        {2, 4, 2, 4, "........", "no length, no pixel"},
        {9, 0, 9, 8, "........", "column outside the surface"},
    };
    for (const Case& c : cases) {
        RasterSurface s(4, 8);
        s.MoveTo(c.x0, c.y0);
        s.LineTo(c.x1, c.y1);
        EXPECT_EQ(ColumnText(s, 2), c.column) << c.why;
    }
}

TEST(RasterSurfaceTest, RefusesBadSizes) {
    EXPECT_EQ(FailureOf([] { RasterSurface(-1, 10); }), FailureReason::InvalidValue);
    EXPECT_EQ(FailureOf([] { RasterSurface(10, -1); }), FailureReason::InvalidValue);
    EXPECT_EQ(FailureOf([] { RasterSurface(8193, 8192); }), FailureReason::OutOfMemory);
    EXPECT_EQ(FailureOf([] { RasterSurface(INT32_MAX, INT32_MAX); }), FailureReason::OutOfMemory);
    EXPECT_EQ(FailureOf([] { RasterSurface(0, 0); }), std::nullopt);
    // Found by the control fuzzer: a surface without pixels gave a copy from nowhere.
    EXPECT_TRUE(RasterSurface(0, 5).ContiguousPixels().empty());
}

// Bars over a surface of one colour leave rows stored once; whatever draws on one of them
// afterwards (a pixel, a fill, a line through the first row, a copy drawn on) changes that
// row alone.
TEST(RasterSurfaceTest, AlikeRowsChangeOneByOne) {
    RasterSurface s(5, 6);
    for (const std::int32_t x : {1, 3}) {
        s.MoveTo(x, 1);
        s.LineTo(x, 5);
    }
    const std::string barred = "...../.#.#./.#.#./.#.#./.#.#./.....";
    EXPECT_EQ(PictureText(s), barred);
    const RasterSurface kept = s;
    s.SetPixel(4, 3, kBlack);
    s.FillRect({0, 4, 5, 5}, MakeColour(0xFF, 0, 0));
    EXPECT_EQ(PictureText(s), "...../.#.#./.#.#./.#.##/-----/.....");
    s.MoveTo(0, 1);
    s.LineTo(5, 1);
    EXPECT_EQ(PictureText(s), "...../#####/.#.#./.#.##/-----/.....");
    EXPECT_EQ(PictureText(kept), barred);

    RasterSurface copy = kept;
    copy.SetPixel(0, 1, kBlack);
    EXPECT_EQ(PictureText(copy), "...../##.#./.#.#./.#.#./.#.#./.....");
    EXPECT_EQ(PictureText(kept), barred);

    // A whole fill forgets the alike rows; new bars over other rows start afresh.
    copy.FillRect({0, 0, 5, 6}, kWhite);
    copy.MoveTo(2, 0);
    copy.LineTo(2, 3);
    EXPECT_EQ(PictureText(copy), "..#../..#../..#../...../...../.....");
    EXPECT_EQ(copy.ContiguousPixels().size(), std::size_t{5 * 6 * 3});
}

// A run of columns drawn at once is what MoveTo and LineTo draw column by column, also
// after earlier bars, off the surface, upwards and with a wide pen; the line drawn next
// shows where the position was left.
TEST(RasterSurfaceTest, ColumnsAtOnceMatchColumnByColumn) {
    struct Case {
        std::int32_t left, right, top, bottom, penWidth;
    };
    const Case cases[] = {{1, 3, 1, 6, 1}, {4, 6, 1, 6, 1},  {-2, 2, 0, 3, 1}, {6, 9, 2, 5, 1},
                          {2, 4, 5, 1, 1}, {1, 2, -3, 9, 1}, {2, 4, 2, 4, 3},  {3, 3, 1, 6, 1}};
    for (const Case& c : cases) {
        RasterSurface atOnce(8, 7);
        RasterSurface oneByOne(8, 7);
        for (RasterSurface* s : {&atOnce, &oneByOne}) {
            s->MoveTo(0, 1);
            s->LineTo(0, 6);  // an earlier bar over rows 1 to 5
            s->SelectPen({kBlack, c.penWidth});
        }
        atOnce.DrawColumns(c.left, c.right, c.top, c.bottom);
        oneByOne.DrawingSurface::DrawColumns(c.left, c.right, c.top, c.bottom);
        for (RasterSurface* s : {&atOnce, &oneByOne}) {
            s->SelectPen({MakeColour(0xFF, 0, 0), 1});
            s->LineTo(7, 0);
        }
        EXPECT_EQ(PictureText(atOnce), PictureText(oneByOne))
            << c.left << ".." << c.right << " x " << c.top << ".." << c.bottom;
    }
}

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
