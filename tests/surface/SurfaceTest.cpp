// SPDX-License-Identifier: MIT
// The raster surface, the SVG surface checked against it, and text in the control's font.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>

#include <qvbarcode/surface/Font.h>
#include <qvbarcode/surface/FreeTypeFont.h>
#include <qvbarcode/surface/RasterSurface.h>
#include <qvbarcode/surface/SvgSurface.h>
#include <qvbarcode/surface/Windows1252.h>
#include "support/FailureOf.h"
#include "support/FixedFont.h"
#include "support/PixelText.h"

namespace qv::surface {
namespace {

using host::FailedCall;
using host::FailureReason;
using testing::FailureOf;
using testing::PictureText;

// Fills and lines are checked against Qt's painter (tests/designer) and the SVG surface below.
TEST(RasterSurfaceTest, CopiesAreClipped) {
    RasterSurface target(4, 4);
    target.Blit(RasterSurface(3, 3, kBlack), -2, 2);
    target.Blit(RasterSurface(3, 3, kBlack), 3, -2);
    EXPECT_EQ(PictureText(target), "...#/..../#.../#...");
}

// Found by the component fuzzer: a host's empty surface of 2^31 - 1 rows took gigabytes; by
// the control fuzzer: a surface without pixels gave a copy from nowhere.
TEST(RasterSurfaceTest, RefusesBadSizes) {
    constexpr auto kBad = FailureReason::InvalidValue, kBig = FailureReason::OutOfMemory;
    const std::tuple<std::int32_t, std::int32_t, std::optional<FailureReason>> cases[] = {
        {-1, 10, kBad},       {10, -1, kBad},      {8193, 8192, kBig}, {INT32_MAX, INT32_MAX, kBig},
        {0, INT32_MAX, kBig}, {0, 0, std::nullopt}};
    for (const auto& [w, h, reason] : cases)
        EXPECT_EQ(FailureOf([&] { RasterSurface(w, h); }), reason) << w << " x " << h;
    EXPECT_TRUE(RasterSurface(0, 5).ContiguousPixels().empty());
}

// Bars over a surface of one colour leave rows stored once; whatever draws on one of them
// afterwards (a pixel, a fill, a line through the first row, a copy drawn on) changes that
// row alone, and a further bar over them changes the copies of the surface not at all.
TEST(RasterSurfaceTest, AlikeRowsChangeOneByOne) {
    RasterSurface s(5, 6);
    for (const std::int32_t x : {1, 3}) {
        s.MoveTo(x, 1);
        s.LineTo(x, 5);
    }
    const std::string barred = "...../.#.#./.#.#./.#.#./.#.#./.....";
    EXPECT_EQ(PictureText(s), barred);
    const RasterSurface kept = s;
    s.MoveTo(2, 1);
    s.LineTo(2, 5);
    s.SetPixel(4, 3, kBlack);
    s.FillRect({0, 4, 5, 5}, MakeColour(0xFF, 0, 0));
    EXPECT_EQ(PictureText(s), "...../.###./.###./.####/-----/.....");
    s.MoveTo(0, 1);
    s.LineTo(5, 1);
    EXPECT_EQ(PictureText(s), "...../#####/.###./.####/-----/.....");
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

    // No rows are alike on a fresh surface, not even none above it.
    RasterSurface fresh(5, 2);
    fresh.DrawColumnRuns(std::vector<ColumnRun>{{1, 2}}, -1, -1);
    fresh.MoveTo(3, -1);
    fresh.LineTo(3, -1);
    EXPECT_EQ(PictureText(fresh), "...../.....");
}

// A run of columns drawn at once, alone or in a list of runs, is what MoveTo and LineTo
// draw column by column, also after earlier bars, off the surface, upwards and with a wide
// pen; the line drawn next shows where the position was left.
TEST(RasterSurfaceTest, ColumnsAtOnceMatchColumnByColumn) {
    struct Case {
        std::int32_t left, right, top, bottom, penWidth;
    };
    const Case cases[] = {{1, 3, 1, 6, 1}, {4, 6, 1, 6, 1},  {-2, 2, 0, 3, 1}, {6, 9, 2, 5, 1},
                          {2, 4, 5, 1, 1}, {1, 2, -3, 9, 1}, {2, 4, 2, 4, 3},  {3, 3, 1, 6, 1}};
    for (const Case& c : cases) {
        RasterSurface atOnce(8, 7);
        RasterSurface oneByOne(8, 7);
        RasterSurface asRun(8, 7);
        for (RasterSurface* s : {&atOnce, &oneByOne, &asRun}) {
            s->MoveTo(0, 1);
            s->LineTo(0, 6);  // an earlier bar over rows 1 to 5
            s->SelectPen({kBlack, c.penWidth});
        }
        // The case's run and a one-column run after a gap.
        const ColumnRun runs[] = {{c.left, c.right}, {c.right + 1, c.right + 2}};
        for (const ColumnRun& run : runs) {
            atOnce.DrawColumns(run.left, run.right, c.top, c.bottom);
            oneByOne.DrawingSurface::DrawColumns(run.left, run.right, c.top, c.bottom);
        }
        asRun.DrawColumnRuns(runs, c.top, c.bottom);
        for (RasterSurface* s : {&atOnce, &oneByOne, &asRun}) {
            s->SelectPen({MakeColour(0xFF, 0, 0), 1});
            s->LineTo(7, 0);
        }
        EXPECT_EQ(PictureText(atOnce), PictureText(oneByOne))
            << c.left << ".." << c.right << " x " << c.top << ".." << c.bottom;
        EXPECT_EQ(PictureText(asRun), PictureText(oneByOne)) << c.left << ".." << c.right;
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

// Axis lines of any pen width, partly or wholly off the surface, upwards or of no length, and
// fills between them, show the raster surface's pixels, later drawing on top.
TEST(SvgSurfaceTest, AxisLinesAndFillsShowTheRasterSurfacesPixels) {
    struct Step {
        std::int32_t x0, y0, x1, y1, penWidth;  // pen width 0: a white fill of that rect
    };
    // The last two: a bar beside an earlier one of the same rows, after a fill over both, must
    // not merge with it under the fill.
    const Step steps[] = {
        {3, 2, 3, 9, 1},     {4, 9, 4, 2, 1},    {5, 2, 5, 10, 1},  {0, 12, 9, 12, 1},
        {9, 13, 0, 13, 1},   {12, 3, 12, 8, 3},  {2, 16, 8, 16, 2}, {-3, 18, 30, 18, 1},
        {17, -4, 17, 40, 1}, {19, 19, 19, 0, 4}, {7, 5, 7, 5, 1},   {25, 2, 25, 9, 1},
        {0, 6, 7, 8, 0},     {6, 2, 6, 10, 1},
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
// when opaque; a slanted line is a line element through the pixel centres. A program that takes
// the user's locale, as every Qt program does, may have a comma for a decimal mark; the
// document's numbers keep their point (a locale is made for the test).
TEST(SvgSurfaceTest, DocumentWithCaptionAndSlantedLineUnderACommaLocale) {
    const auto locales =
        std::filesystem::temp_directory_path() / ("qv-locales-" + std::to_string(getpid()));
    std::filesystem::create_directories(locales);
    const std::string make = "localedef -i de_DE -f UTF-8 " + (locales / "de_DE.UTF-8").string();
    ASSERT_EQ(std::system(make.c_str()), 0) << make;
    setenv("LOCPATH", locales.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
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
    const std::string document = svg.Document() + svg.Document(254.0);  // 100 pixels are 10 mm
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    std::filesystem::remove_all(locales);
    for (const std::string_view part : {
             " width=\"100\" height=\"40\" viewBox=\"0 0 100 40\"",
             " width=\"10.0000mm\" height=\"4.0000mm\"",
             "<clipPath id=\"clip1\"><rect x=\"10\" y=\"5\" width=\"51\" height=\"30\"/>",
             // 11-pixel line: 13 rows, the baseline 3 rows above the box's bottom.
             "<text x=\"35.5\" y=\"32\" font-family=\"sans-serif\" font-size=\"11\" "
             "text-anchor=\"middle\"",
             "clip-path=\"url(#clip1)\">A&amp;B &lt;\u00E9\u20AC&gt;</text>",
             "<line x1=\"1.5\" y1=\"1.5\" x2=\"6.5\" y2=\"4.5\"",
         }) {
        EXPECT_NE(document.find(part), std::string::npos) << part;
    }
}

TEST(TextRenderingTest, FontsMeasureAndRenderDigitsAndRefuseWhatIsNoFont) {
    const auto font = ControlFont();
    const TextExtent extent = font->Measure(u"1234");
    // An 11-pixel sans-serif face: digits are 5 to 8 pixels wide, a line 12 to 15 high.
    EXPECT_TRUE(extent.width >= 20.0f && extent.width <= 32.0f) << extent.width;
    EXPECT_TRUE(extent.height >= 12.0f && extent.height <= 15.0f) << extent.height;
    // A character the face lacks shows its fallback glyph, not nothing.
    EXPECT_GT(font->Measure(u"\U0010FFFD").width, 0.0f);
    EXPECT_EQ(font->Measure(u"").width + font->Render(u"").width, 0.0f);

    const RenderedText text = font->Render(u"1234");
    EXPECT_EQ(text.width, static_cast<std::int32_t>(std::ceil(extent.width)));
    EXPECT_EQ(text.height, static_cast<std::int32_t>(extent.height));
    ASSERT_EQ(text.coverage.size(), static_cast<std::size_t>(text.width * text.height));
    // Digits stand on the baseline: the lowest rows belong to descenders only.
    EXPECT_TRUE(std::all_of(text.coverage.end() - text.width, text.coverage.end(),
                            [](std::uint8_t c) { return c == 0; }));

    EXPECT_EQ(FailureOf([] { LoadFont("/proc/self/cmdline", 11.0f); }),
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
    for (const Rect& box : {Rect{5, 2, width - 3, height - 4}, {20, 4, 29 + text.width % 2, 10}}) {
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
                        const Colour u = mode == kOpaque ? paper : expected;
                        const auto blend = [c](unsigned under, unsigned over) {
                            return static_cast<std::uint8_t>((under * (255 - c) + over * c + 127) /
                                                             255);
                        };
                        expected =
                            MakeColour(blend(RedOf(u), RedOf(ink)), blend(GreenOf(u), GreenOf(ink)),
                                       blend(BlueOf(u), BlueOf(ink)));
                    }
                    wrong += s.PixelAt(x, y) != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << "box " << box.left << " wide " << box.right - box.left
                                << ", background mode " << mode;
        }
    }
}

// A surface keeps its last caption rendered and painted: each step changes one thing that
// decides the pixels, and the surface that drew every step before must show what a fresh
// surface shows after that step alone. (A change of text: the control's repeated drawing.)
TEST(TextRenderingTest, TheKeptCaptionFollowsEveryChange) {
    struct Step {
        std::shared_ptr<const Font> font;
        Colour ink, under;
        int mode;
    };
    const auto small = ControlFont(), large = ControlFontAt(150.0);  // one face, two sizes
    const Colour red = MakeColour(200, 30, 0), grey = MakeColour(240, 240, 240);
    const Step steps[] = {
        {small, kBlack, kWhite, kTransparent}, {small, kBlack, kWhite, kTransparent},
        {large, kBlack, kWhite, kTransparent}, {large, red, kWhite, kTransparent},
        {large, red, grey, kTransparent},      {large, red, grey, kOpaque},
        {small, red, grey, kOpaque},
    };
    const Rect box{3, 2, 117, 40};
    RasterSurface kept(120, 44);
    for (const Step& step : steps) {
        RasterSurface fresh(120, 44);
        for (RasterSurface* s : {&kept, &fresh}) {
            s->FillRect(box, step.under);
            s->SetFont(step.font);
            s->SetTextColor(step.ink);
            s->SetBkColor(MakeColour(0, 90, 250));
            s->SetBkMode(step.mode);
            s->DrawText("QV-2025", box, kCaptionFormat);
        }
        EXPECT_EQ(kept.ContiguousPixels(), fresh.ContiguousPixels()) << &step - steps;
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
