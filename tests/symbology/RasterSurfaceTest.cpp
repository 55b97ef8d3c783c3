#include "symbology/RasterSurface.h"

#include <gtest/gtest.h>

#include <string>

#include "component/FailedCall.h"

namespace qv::symbology {
namespace {

using component::FailedCall;
using component::FailureReason;

constexpr Colour kRed = MakeColour(0xFF, 0, 0);

// Column x of rows [0, height) as text: "#" black, "." white, "-" anything else.
std::string Column(const RasterSurface& s, std::int32_t x) {
    std::string column;
    for (std::int32_t y = 0; y < s.height(); ++y) {
        const Colour c = s.PixelAt(x, y);
        column += c == kBlack ? '#' : c == kWhite ? '.' : '-';
    }
    return column;
}

std::string Row(const RasterSurface& s, std::int32_t y) {
    std::string row;
    for (std::int32_t x = 0; x < s.width(); ++x) {
        const Colour c = s.PixelAt(x, y);
        row += c == kBlack ? '#' : c == kWhite ? '.' : '-';
    }
    return row;
}

TEST(RasterSurfaceTest, FillRectIsHalfOpenAndClipped) {
    RasterSurface s(6, 3);
    s.FillRect({1, 1, 3, 2}, kBlack);
    EXPECT_EQ(Row(s, 0), "......");
    EXPECT_EQ(Row(s, 1), ".##...");
    EXPECT_EQ(Row(s, 2), "......");
    s.FillRect({4, -5, 99, 99}, kRed);
    EXPECT_EQ(Row(s, 0), "....--");
    s.FillRect({3, 0, 3, 3}, kBlack);  // empty: nothing
    s.FillRect({2, 2, 1, 1}, kBlack);  // inverted: nothing
    EXPECT_EQ(Row(s, 2), "....--");
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
        EXPECT_EQ(Column(s, 2), c.column) << c.why;
    }
}

TEST(RasterSurfaceTest, HorizontalAndWideLines) {
    RasterSurface s(6, 4);
    s.MoveTo(1, 0);
    s.LineTo(4, 0);
    s.MoveTo(4, 1);
    s.LineTo(1, 1);
    EXPECT_EQ(Row(s, 0), ".###..");
    EXPECT_EQ(Row(s, 1), "..###.");
    RasterSurface wide(6, 4);
    EXPECT_EQ(wide.SelectPen({kBlack, 3}), Pen{});
    wide.MoveTo(2, 1);
    wide.LineTo(2, 2);
    EXPECT_EQ(Row(wide, 0), ".###..");
    EXPECT_EQ(Row(wide, 2), ".###..");
    EXPECT_EQ(Row(wide, 3), "......");
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
        try {
            RasterSurface s(c.width, c.height);
            ADD_FAILURE() << c.width << " x " << c.height << " accepted";
        } catch (const FailedCall& failure) {
            EXPECT_EQ(failure.reason(), c.reason) << c.width << " x " << c.height;
        }
    }
    EXPECT_NO_THROW(RasterSurface(0, 0));
}

TEST(RasterSurfaceTest, BlitClipsAtEveryEdge) {
    RasterSurface source(3, 3, kBlack);
    RasterSurface target(4, 4);
    target.Blit(source, -2, 2);
    target.Blit(source, 3, -2);
    EXPECT_EQ(Row(target, 0), "...#");
    EXPECT_EQ(Row(target, 1), "....");
    EXPECT_EQ(Row(target, 2), "#...");
    EXPECT_EQ(Row(target, 3), "#...");
}

}  // namespace
}  // namespace qv::symbology
