// SPDX-License-Identifier: MIT
// One finished picture read from several threads at once, as a batch's renderers share the
// --onto picture: reading must write nothing. The ThreadSanitizer tree (QV_TSAN) builds and
// runs this suite alone, and reports any write a reader makes.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <thread>
#include <vector>

#include <qvbarcode/imagefile/PngFile.h>
#include <qvbarcode/surface/RasterSurface.h>

namespace qv::surface {
namespace {

// The bars of a barcode over a fresh surface, the rows around them still as the fill left
// them, and a caption over the bars' foot or not: what the pipeline leaves, nothing read yet.
RasterSurface Barcode(bool caption) {
    RasterSurface s(120, 40);
    s.FillRect({0, 0, 120, 40}, kWhite);
    std::vector<ColumnRun> runs;
    for (std::int32_t x = 5; x < 112; x += 5) runs.push_back({x, x + 1 + x % 3});
    s.DrawColumnRuns(runs, 5, 35);
    if (caption) {
        s.SetBkMode(kTransparent);
        s.FillRect({35, 24, 85, 35}, kWhite);
        s.DrawText("4006381", {35, 24, 85, 35}, kCaptionFormat);
    }
    return s;
}

// What one reader checks, round after round: every pixel, the PNG, and that a copy drawn on
// (an --onto renderer's) leaves the picture as it was. Returns the number of mismatches.
int ReadAll(const RasterSurface& picture, const std::vector<std::uint8_t>& pixels,
            const std::string& png) {
    int mismatches = 0;
    for (int round = 0; round < 20; ++round) {
        for (std::int32_t y = 0; y < picture.height(); ++y) {
            const std::int32_t x = (y * 7 + round) % picture.width();
            const std::uint8_t* p = &pixels[y * picture.RowBytes() + x * 3];
            mismatches += picture.PixelAt(x, y) != MakeColour(p[0], p[1], p[2]);
        }
        mismatches += imagefile::EncodePng(picture) != png;
        RasterSurface copy = picture;
        copy.DrawColumns(round, round + 2, 5, 35);  // over the bars' rows
        copy.FillRect({0, 20, 120, 22}, kBlack);
        mismatches += picture.ContiguousPixels() != pixels;
    }
    return mismatches;
}

TEST(SharedPictureTest, ReadersOnSeveralThreadsSeeTheFinishedPicture) {
    for (const bool caption : {false, true}) {
        // The expected pixels come from a twin read on this thread alone.
        const RasterSurface twin = Barcode(caption);
        const std::vector<std::uint8_t> pixels = twin.ContiguousPixels();
        const std::string png = imagefile::EncodePng(twin);
        const RasterSurface picture = Barcode(caption);
        std::array<int, 4> mismatches{};
        std::vector<std::thread> readers;
        for (std::size_t i = 0; i < mismatches.size(); ++i) {
            readers.emplace_back([&, i] { mismatches[i] = ReadAll(picture, pixels, png); });
        }
        for (std::thread& reader : readers) reader.join();
        EXPECT_EQ(mismatches, (std::array<int, 4>{})) << "caption " << caption;
    }
}

}  // namespace
}  // namespace qv::surface
