#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "support/FailureOf.h"
#include "surface/Font.h"
#include "surface/FreeTypeFont.h"
#include "surface/RasterSurface.h"
#include "surface/Windows1252.h"

namespace qv::surface {
namespace {

using host::FailedCall;
using host::FailureReason;

TEST(TextRenderingTest, ControlFontMeasuresAndRendersDigits) {
    const auto font = ControlFont();
    ASSERT_EQ(font, ControlFont()) << "the control font is cached";
    const TextExtent extent = font->Measure(u"1234");
    // An 11-pixel sans-serif face: digits are 5 to 8 pixels wide, a line 12 to 15 high.
    EXPECT_TRUE(extent.width >= 20.0f && extent.width <= 32.0f) << extent.width;
    EXPECT_TRUE(extent.height >= 12.0f && extent.height <= 15.0f) << extent.height;
    EXPECT_LT(font->Measure(u"1").width, extent.width);
    // A character the face lacks shows its fallback glyph, not nothing.
    EXPECT_GT(font->Measure(u"\U0010FFFD").width, 0.0f);
    EXPECT_EQ(font->Measure(u"").width, 0.0f);
    EXPECT_EQ(font->Render(u"").width, 0);

    const RenderedText text = font->Render(u"1234");
    EXPECT_EQ(text.width, static_cast<std::int32_t>(std::ceil(extent.width)));
    EXPECT_EQ(text.height, static_cast<std::int32_t>(extent.height));
    ASSERT_EQ(text.coverage.size(), static_cast<std::size_t>(text.width * text.height));
    EXPECT_GT(std::count_if(text.coverage.begin(), text.coverage.end(),
                            [](std::uint8_t c) { return c > 200; }),
              20);
    // Digits stand on the baseline: the lowest rows belong to descenders only.
    for (std::int32_t x = 0; x < text.width; ++x) {
        EXPECT_EQ(text.at(x, text.height - 1), 0) << "column " << x;
    }
}

TEST(TextRenderingTest, SharedFontRendersTheSameFromManyThreads) {
    const auto font = ControlFont();
    const RenderedText expected = font->Render(u"0123456789");
    std::atomic<int> mismatches = 0;
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < 50; ++i) {
                    mismatches += font->Render(u"0123456789").coverage != expected.coverage;
                }
            });
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(TextRenderingTest, LoadFontRefusesWhatIsNoFont) {
    EXPECT_EQ(testing::FailureOf([] { LoadFont("/proc/self/cmdline", 11.0f); }),
              FailureReason::PlatformFailure);
    EXPECT_THROW(LoadFont("sans-serif", -2.0f), FailedCall);
    const auto big = LoadFont("sans-serif", 22.0f);
    EXPECT_GT(big->Measure(u"1234").width, 1.7f * ControlFont()->Measure(u"1234").width);
}

// The bounding box of every pixel that is not white.
Rect InkOf(const RasterSurface& s) {
    Rect ink{s.width(), s.height(), 0, 0};
    for (std::int32_t y = 0; y < s.height(); ++y) {
        for (std::int32_t x = 0; x < s.width(); ++x) {
            if (s.PixelAt(x, y) != kWhite) {
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                       std::max(ink.bottom, y + 1)};
            }
        }
    }
    return ink;
}

TEST(TextRenderingTest, RasterCaptionIsBottomCentredAndClipped) {
    const auto inkIn = [](const Rect& box) {
        RasterSurface s(60, 30);
        s.DrawText("1234", box, kCaptionFormat);
        return InkOf(s);
    };
    const Rect box{15, 4, 45, 20};
    const Rect ink = inkIn(box);
    ASSERT_LT(ink.left, ink.right);
    EXPECT_GE(ink.left, box.left);
    EXPECT_LE(ink.right, box.right);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, (box.left + box.right) / 2.0, 2.0);
    // Digits end on the baseline, a few descender rows above the box's bottom.
    EXPECT_GE(ink.bottom, box.bottom - 4);
    EXPECT_LT(ink.bottom, box.bottom);

    // A box narrower and lower than the text: no ink outside it.
    const Rect tight{20, 10, 30, 14};
    const Rect clipped = inkIn(tight);
    EXPECT_TRUE(clipped.left >= tight.left && clipped.top >= tight.top &&
                clipped.right <= tight.right && clipped.bottom <= tight.bottom);
}

// Every caption pixel is the ink laid over what was under it with the glyph's coverage,
// rounded to the nearest level: on a plain colour, on another colour, and on paper.
TEST(TextRenderingTest, CaptionPixelsBlendTheInkByCoverage) {
    const RenderedText text = ControlFont()->Render(u"1234567890123");
    const Colour ink = MakeColour(200, 30, 0);
    const Colour paper = MakeColour(240, 240, 0);
    for (const int mode : {kTransparent, kOpaque}) {
        RasterSurface s(text.width + 10, text.height + 4, MakeColour(250, 250, 250));
        s.FillRect({0, 0, text.width / 3 + 5, text.height + 4}, MakeColour(10, 120, 200));
        const RasterSurface before = s;
        s.SetTextColor(ink);
        s.SetBkColor(paper);
        s.SetBkMode(mode);
        s.DrawText("1234567890123", {5, 2, 5 + text.width, 2 + text.height}, kCaptionFormat);
        int wrong = 0;
        for (std::int32_t y = 0; y < text.height; ++y) {
            for (std::int32_t x = 0; x < text.width; ++x) {
                const unsigned c = text.at(x, y);
                const Colour under = mode == kOpaque ? paper : before.PixelAt(x + 5, y + 2);
                const auto blend = [c](unsigned u, unsigned i) {
                    return static_cast<std::uint8_t>((u * (255 - c) + i * c + 127) / 255);
                };
                const Colour expected =
                    MakeColour(blend(RedOf(under), RedOf(ink)), blend(GreenOf(under), GreenOf(ink)),
                               blend(BlueOf(under), BlueOf(ink)));
                wrong += s.PixelAt(x + 5, y + 2) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << "background mode " << mode;
        EXPECT_EQ(s.PixelAt(4, 2), before.PixelAt(4, 2)) << "nothing outside the box";
    }
}

TEST(TextRenderingTest, Windows1252Conversion) {
    EXPECT_EQ(EncodeWindows1252(u"AZ09\u00E9\u20AC\u2122\u0160"), "AZ09\xE9\x80\x99\x8A");
    // What it lacks, in the basic plane or beyond, becomes one question mark each.
    EXPECT_EQ(EncodeWindows1252(u"a\u4E2Db\U0001F600"), "a?b?");
    EXPECT_EQ(DecodeWindows1252("\x80\xE9\x9F"), u"\u20AC\u00E9\u0178");
}

}  // namespace
}  // namespace qv::surface
