#include "surface/RasterSurface.h"

#include <gtest/gtest.h>

#include "support/FailureOf.h"
#include "support/PixelText.h"

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

}  // namespace
}  // namespace qv::surface
