// One finished picture read from several threads at once, as a batch's renderers share the
// --onto picture: reading must write nothing. The ThreadSanitizer tree (QV_TSAN) builds and
// runs this suite alone, and reports any write a reader makes.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "imagefile/PngFile.h"
#include "surface/RasterSurface.h"

namespace qv::surface {
namespace {

constexpr int kReaders = 4;
constexpr int kRounds = 20;

// The bars of a barcode over a fresh surface, the rows around them still as the fill left
// them: what the pipeline leaves before anything reads it.
RasterSurface Bars() {
    RasterSurface s(120, 40);
    s.FillRect({0, 0, 120, 40}, kWhite);
    std::vector<ColumnRun> runs;
    for (std::int32_t x = 5; x < 112; x += 5) runs.push_back({x, x + 1 + x % 3});
    s.DrawColumnRuns(runs, 5, 35);
    return s;
}

RasterSurface Captioned() {
    RasterSurface s = Bars();
    s.SetBkMode(kTransparent);
    s.FillRect({35, 24, 85, 35}, kWhite);
    s.DrawText("4006381", {35, 24, 85, 35}, kCaptionFormat);
    return s;
}

// What one reader checks, every round: each row, a pixel of each row, the rows alike, the
// PNG, and a copy drawn on (an --onto renderer's) leaving the picture as it was. Returns the
// number of mismatches.
int ReadAll(const RasterSurface& picture, const std::vector<std::uint8_t>& rows,
            const std::string& png) {
    int mismatches = 0;
    const std::size_t stride = picture.RowBytes();
    for (int round = 0; round < kRounds; ++round) {
        for (std::int32_t y = 0; y < picture.height(); ++y) {
            const std::uint8_t* expected = rows.data() + static_cast<std::size_t>(y) * stride;
            mismatches += std::memcmp(picture.RowData(y), expected, stride) != 0;
            const std::int32_t x = (y * 7 + round) % picture.width();
            mismatches += picture.PixelAt(x, y) !=
                          MakeColour(expected[3 * x], expected[3 * x + 1], expected[3 * x + 2]);
            mismatches += y > 0 && picture.RowRepeatsAbove(y) !=
                                       (std::memcmp(expected, expected - stride, stride) == 0);
        }
        mismatches += imagefile::EncodePng(picture) != png;
        RasterSurface copy = picture;
        copy.DrawColumns(round, round + 2, 5, 35);  // over the bars' rows
        copy.FillRect({0, 20, 120, 22}, kBlack);
        mismatches += picture.ContiguousPixels() != rows;
    }
    return mismatches;
}

TEST(SharedPictureTest, ReadersOnSeveralThreadsSeeTheFinishedPicture) {
    struct Case {
        const char* what;
        std::function<RasterSurface()> draw;
    };
    const Case cases[] = {{"bars", Bars}, {"bars and caption", Captioned}};
    for (const Case& c : cases) {
        // The expected pixels come from a twin read on this thread alone.
        const RasterSurface twin = c.draw();
        const std::vector<std::uint8_t> rows = twin.ContiguousPixels();
        const std::string png = imagefile::EncodePng(twin);

        const RasterSurface picture = c.draw();
        std::array<int, kReaders> mismatches{};
        std::vector<std::thread> readers;
        for (int i = 0; i < kReaders; ++i) {
            readers.emplace_back([&, i] { mismatches[i] = ReadAll(picture, rows, png); });
        }
        for (std::thread& reader : readers) reader.join();
        EXPECT_EQ(mismatches, (std::array<int, kReaders>{})) << c.what;
    }
}

}  // namespace
}  // namespace qv::surface
