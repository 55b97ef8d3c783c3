// SPDX-License-Identifier: MIT
// The plan of a drawing, compared as values, and the painter that draws a plan.
#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include <qvbarcode/render/BarcodePainter.h>
#include <qvbarcode/symbology/Encoding.h>
#include "support/FailureOf.h"
#include "support/FixedFont.h"
#include "support/PixelText.h"

namespace qv::render {
namespace {

using host::FailureReason;
using surface::Rect;
using testing::FailureOf;
using testing::RowText;
using Layout = BarcodeLayout;
using Extent = surface::TextExtent;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// Layouts are {PositionX, PositionY, BarWidth, BarHeight, BarWidthSource, BackgroundWhite,
// ShowValue}. A row gives the own surface's size, the frame, the bars {left, top, bottom,
// module width}, the caption box and the step an overflow stops at; the caption is measured
// 40 x 13 unless the row says otherwise.
TEST(PlanBarcode, SizesFrameBarsAndCaptionBox) {
    struct Case {
        const char* why;
        std::int32_t modules;
        Layout layout;
        std::int32_t width, height;
        Rect frame;
        Bars bars;
        std::optional<Rect> box = {};
        Step overflow = Step::Done;
        Extent caption = {40.0f, 13.0f};
    };
    const Case cases[] = {
        // The worked example: floor(290 / 50) = 5; the box (260 - 46) / 2 = 107 over rows 62..74.
        {"white frame, caption", 50, Layout{0, 0, 300, 80, false, true, true}, 260, 80,
         Rect{0, 0, 260, 80}, Bars{{}, 5, 5, 75, 5}, Rect{107, 62, 153, 75}},
        {"one pixel a module, 50 high", 20, Layout{10, 10, 999, 0, true, false, false}, 20, 50,
         Rect{10, 10, 30, 60}, Bars{{}, 10, 10, 60, 1}},
        {"the same, white: bars 40 high", 20, Layout{10, 10, 0, 0, true, true, false}, 30, 50,
         Rect{10, 10, 40, 60}, Bars{{}, 15, 15, 55, 1}},
        {"BarWidth n", 20, Layout{10, 10, 20, 30, false, false, false}, 20, 30,
         Rect{10, 10, 30, 40}, Bars{{}, 10, 10, 40, 1}},
        {"BarWidth n + 10, white", 20, Layout{10, 10, 30, 30, false, true, false}, 30, 30,
         Rect{10, 10, 40, 40}, Bars{{}, 15, 15, 35, 1}},
        {"leftover pixels stay out", 20, Layout{10, 10, 41, 30, false, false, false}, 40, 30,
         Rect{10, 10, 50, 40}, Bars{{}, 10, 10, 40, 2}},
        // Frame 10..50: (60 - 19) / 2 = 20.5 -> 20, (60 - 17) / 2 = 21.5 -> 22; 12.5 high -> 12.
        {"a half down to even", 20, Layout{10, 10, 40, 30, false, false, true}, 40, 30,
         Rect{10, 10, 50, 40}, Bars{{}, 10, 10, 40, 2}, Rect{20, 27, 39, 40}, Step::Done,
         Extent{13.0f, 13.0f}},
        {"halves up to even", 20, Layout{10, 10, 40, 30, false, false, true}, 40, 30,
         Rect{10, 10, 50, 40}, Bars{{}, 10, 10, 40, 2}, Rect{22, 28, 39, 40}, Step::Done,
         Extent{11.0f, 12.5f}},
        {"caption wider than the frame", 20, Layout{10, 10, 20, 30, false, false, true}, 20, 30,
         Rect{10, 10, 30, 40}, Bars{{}, 10, 10, 40, 1}, Rect{-33, 27, 73, 40}, Step::Done,
         Extent{100.0f, 13.0f}},
        {"negative height: drawn upwards", 38, Layout{2, 10, 38, -3, false, false, false}, 38, -3,
         Rect{2, 10, 40, 7}, Bars{{}, 2, 10, 7, 1}},
        // Beyond 32 or 16 bits once the own surface is sized: raised where painting gets to it.
        {"frame right edge", 20, Layout{kMax - 5, 0, 0, 30, true, false, false}, 20, 30, Rect{},
         Bars{{}, 0, 0, 0, 1}, std::nullopt, Step::Frame},
        {"margin below the frame's top", 20, Layout{0, kMax - 2, 0, -10, true, true, false}, 30,
         -10, Rect{0, kMax - 2, 30, kMax - 12}, Bars{{}, 0, 0, 0, 1}, std::nullopt, Step::Margins},
        {"bar bottom below the lowest row", 20, Layout{0, kMin, 0, 3, true, true, false}, 30, 3,
         Rect{0, kMin, 30, kMin + 3}, Bars{{}, 5, kMin + 5, 0, 1}, std::nullopt, Step::Bars},
        {"caption beyond 16 bits", 20, Layout{0, 0, 20, 30, false, false, true}, 20, 30,
         Rect{0, 0, 20, 30}, Bars{{}, 0, 0, 30, 1}, std::nullopt, Step::Caption,
         Extent{40000.0f, 13.0f}},
        {"caption not a number", 20, Layout{0, 0, 20, 30, false, false, true}, 20, 30,
         Rect{0, 0, 20, 30}, Bars{{}, 0, 0, 30, 1}, std::nullopt, Step::Caption,
         Extent{std::numeric_limits<float>::quiet_NaN(), 1.0f}},
    };
    for (const Case& c : cases) {
        const std::string modules(static_cast<std::size_t>(c.modules), '1');
        BarcodePlan expected{0, c.width, c.height, c.layout.backgroundWhite, c.frame, c.bars};
        expected.captionBox = c.box;
        expected.overflow.step = c.overflow;
        expected.bars.modules = modules;
        expected.caption = c.layout.showValue ? u"x" : u"";
        if (c.layout.barWidthSource) expected.storedBarWidth = c.modules;
        const BarcodePlan plan = PlanBarcode(modules, u"x", c.layout, c.caption);
        EXPECT_EQ(plan, expected) << c.why;
        EXPECT_EQ(plan.overflow.failure != nullptr, c.overflow != Step::Done) << c.why;
    }
    // A module under one pixel: n - 1, n + 9 with the white margins, a negative width.
    for (const Layout& layout :
         {Layout{10, 10, 19, 30, false, false, false}, Layout{10, 10, 29, 30, false, true, false},
          Layout{10, 10, -5, 30, false, false, false}}) {
        EXPECT_EQ(PlanBarcode(std::string(20, '1'), u"x", layout, {}),
                  BarcodePlan{.code = symbology::kNotEnoughWidth});
    }
}

// Twenty modules, bars and spaces in pairs, 2 pixels each, on a grey surface whose own
// background colour is the caption box's when there is no white frame; the caption box is
// 10 x 4, its text without ink. The host's pen and mode coming back is the control's test.
TEST(PaintBarcode, FrameBarsAndClearedCaptionBox) {
    constexpr surface::Colour kBackground = 0x404040;
    struct Painted {
        Painted(const Layout& layout, float captionWidth)
            : plan(PlanBarcode(modules, u"x", layout, {captionWidth, 4.0f})) {
            raster.SetBkColor(kBackground);
            raster.SetFont(std::make_shared<testing::FixedFont>());
            failure = FailureOf([&] { PaintBarcode(plan, raster); });
        }
        const std::string modules = "11001100110011001100";
        BarcodePlan plan;
        surface::RasterSurface raster{60, 40, 0x808080};
        std::optional<FailureReason> failure;
    };
    // Frame 2..51 x 1..30, bars from 7, 6 to row 25, caption box 22..31 x 22..25.
    const Painted white({2, 1, 50, 30, false, true, true}, 4.0f);
    EXPECT_EQ(white.failure, std::nullopt);
    EXPECT_EQ(RowText(white.raster, 6, 0, 54),
              "--....." + std::string("####....####....####....####....####") + ".........--");
    EXPECT_EQ(RowText(white.raster, 26, 0, 54), "--" + std::string(50, '.') + "--");
    EXPECT_EQ(white.raster.PixelAt(23, 22), surface::kWhite);
    EXPECT_EQ(white.raster.PixelAt(23, 21), surface::kBlack);

    // No frame is painted; the box 17..26 x 27..30 takes the surface's background colour.
    const Painted plain({2, 1, 40, 30, false, false, true}, 4.0f);
    const std::string bars = "--" + std::string("####----####----####----####----####") + "------";
    EXPECT_EQ(RowText(plain.raster, 0, 0, 44), std::string(44, '-'));
    EXPECT_EQ(RowText(plain.raster, 10, 0, 44), bars);
    EXPECT_EQ(plain.raster.PixelAt(18, 27), kBackground);
    EXPECT_EQ(plain.raster.PixelAt(18, 26), surface::kBlack);

    // An overflow in the caption is raised after the bars, which stay.
    const Painted wide({2, 1, 40, 30, false, false, true}, 40000.0f);
    EXPECT_EQ(wide.failure, FailureReason::Overflow);
    EXPECT_EQ(RowText(wide.raster, 27, 0, 44), bars);
}

}  // namespace
}  // namespace qv::render
