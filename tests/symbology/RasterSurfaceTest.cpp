#include "symbology/RasterSurface.h"

#include <gtest/gtest.h>

#include "support/FailureOf.h"
#include "support/PixelText.h"

namespace qv::symbology {
namespace {

using component::FailureReason;
using testing::ColumnText;
using testing::PictureText;

TEST(RasterSurfaceTest, FillRectIsHalfOpenAndClipped) {
    RasterSurface s(6, 3);
    s.FillRect({1, 1, 3, 2}, kBlack);
    EXPECT_EQ(PictureText(s), "....../.##.../......");
    s.FillRect({4, -5, 99, 99}, MakeColour(0xFF, 0, 0));
    s.FillRect({3, 0, 3, 3}, kBlack);  // empty: nothing
    s.FillRect({2, 2, 1, 1}, kBlack);  // inverted: nothing
    EXPECT_EQ(PictureText(s), "....--/.##.--/....--");
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

TEST(RasterSurfaceTest, HorizontalAndWideLines) {
    RasterSurface s(6, 4);
    s.MoveTo(1, 0);
    s.LineTo(4, 0);
    s.MoveTo(4, 1);
    s.LineTo(1, 1);
    EXPECT_EQ(PictureText(s), ".###../..###./....../......");
    RasterSurface wide(6, 4);
    EXPECT_EQ(wide.SelectPen({kBlack, 3}), Pen{});
    wide.MoveTo(2, 1);
    wide.LineTo(2, 2);
    EXPECT_EQ(PictureText(wide), ".###../.###../.###../......");
}

TEST(RasterSurfaceTest, RefusesBadSizes) {
    struct Case {
        std::int32_t width, height;
        FailureReason reason;
    };
    const Case cases[] = {
        {-1, 10, FailureReason::InvalidValue},
        {10, -1, FailureReason::InvalidValue},
        {8193, 8192, FailureReason::OutOfMemory},
        {INT32_MAX, INT32_MAX, FailureReason::OutOfMemory},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(testing::FailureOf([&] { RasterSurface(c.width, c.height); }), c.reason)
            << c.width << " x " << c.height;
    }
    EXPECT_NO_THROW(RasterSurface(0, 0));
}

TEST(RasterSurfaceTest, BlitClipsAtEveryEdge) {
    RasterSurface source(3, 3, kBlack);
    RasterSurface target(4, 4);
    target.Blit(source, -2, 2);
    target.Blit(source, 3, -2);
    EXPECT_EQ(PictureText(target), "...#/..../#.../#...");
}

}  // namespace
}  // namespace qv::symbology
