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
    const TextExtent extent = font->Measure(u"1234");
    // An 11-pixel sans-serif face: digits are 5 to 8 pixels wide, a line 12 to 15 high.
    EXPECT_TRUE(extent.width >= 20.0f && extent.width <= 32.0f) << extent.width;
    EXPECT_TRUE(extent.height >= 12.0f && extent.height <= 15.0f) << extent.height;
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
    EXPECT_TRUE(std::all_of(text.coverage.end() - text.width, text.coverage.end(),
                            [](std::uint8_t c) { return c == 0; }));
}

TEST(TextRenderingTest, SharedFontRendersTheSameFromManyThreads) {
    const auto font = ControlFont();
    const RenderedText expected = font->Render(u"0123456789");
    std::atomic<int> mismatches = 0;
    {
        std::vector<std::jthread> threads(4);
        for (std::jthread& thread : threads) {
            thread = std::jthread([&] {
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

// Every caption pixel is the ink laid over what was under it with the glyph's coverage,
// rounded to the nearest level, on a plain colour, another colour or the paper. The text
// stands on the box's bottom, centred with an odd pixel left over on the right, and nothing
// outside the box changes, also when the box is smaller than the text.
TEST(TextRenderingTest, CaptionPixelsBlendTheInkByCoverageWithinTheBox) {
    const RenderedText text = ControlFont()->Render(u"1234567890123");
    const Colour ink = MakeColour(200, 30, 0), paper = MakeColour(240, 240, 0);
    const std::int32_t width = text.width + 21, height = text.height + 10;
    // A wide box and a tight one, each leaving an odd number of pixels.
    const Rect boxes[] = {{5, 2, width - 3, height - 4}, {20, 4, 29 + text.width % 2, 10}};
    for (const Rect& box : boxes) {
        const std::int32_t left =
            box.left +
            static_cast<std::int32_t>(std::floor((box.right - box.left - text.width) / 2.0));
        const std::int32_t top = box.bottom - text.height;
        for (const int mode : {kTransparent, kOpaque}) {
            RasterSurface s(width, height, MakeColour(250, 250, 250));
            s.FillRect({0, 0, width / 3, height}, MakeColour(10, 120, 200));
            const RasterSurface before = s;
            s.SetTextColor(ink);
            s.SetBkColor(paper);
            s.SetBkMode(mode);
            s.DrawText("1234567890123", box, kCaptionFormat);
            int wrong = 0;
            for (std::int32_t y = 0; y < height; ++y) {
                for (std::int32_t x = 0; x < width; ++x) {
                    Colour expected = before.PixelAt(x, y);
                    if (x >= std::max(box.left, left) &&
                        x < std::min(box.right, left + text.width) && y >= std::max(box.top, top) &&
                        y < box.bottom) {
                        const unsigned c = text.at(x - left, y - top);
                        const Colour under = mode == kOpaque ? paper : expected;
                        const auto blend = [c](unsigned u, unsigned i) {
                            return static_cast<std::uint8_t>((u * (255 - c) + i * c + 127) / 255);
                        };
                        expected = MakeColour(blend(RedOf(under), RedOf(ink)),
                                              blend(GreenOf(under), GreenOf(ink)),
                                              blend(BlueOf(under), BlueOf(ink)));
                    }
                    wrong += s.PixelAt(x, y) != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << "box " << box.left << " wide " << box.right - box.left
                                << ", background mode " << mode;
        }
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
