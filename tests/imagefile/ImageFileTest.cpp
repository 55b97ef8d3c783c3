// SPDX-License-Identifier: MIT
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include <qvbarcode/imagefile/AtomicFile.h>
#include <qvbarcode/imagefile/NetpbmFile.h>
#include <qvbarcode/imagefile/PngFile.h>
#include "support/FailureOf.h"
#include "support/FileText.h"

namespace qv::imagefile {
namespace {

namespace fs = std::filesystem;
using host::FailureReason;
using testing::FileText;

class ImageFileTest : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(directory_); }
    void TearDown() override { fs::remove_all(directory_); }

    const fs::path directory_ = fs::temp_directory_path() /
                                ("qv-image-" + std::to_string(getpid()) + "-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

surface::RasterSurface Sample() {
    surface::RasterSurface s(10, 3);
    s.FillRect({0, 0, 3, 3}, surface::kBlack);
    s.FillRect({3, 1, 10, 2}, surface::MakeColour(0x80, 0x80, 0x80));
    s.SetPixel(9, 2, surface::MakeColour(0x12, 0x34, 0x56));
    return s;
}

// Bars over rows stored once, then rows unlike the ones above: in black and white (one bit
// per pixel) or with a grey (eight bits).
surface::RasterSurface Bars(surface::Colour last) {
    surface::RasterSurface s(13, 9);
    for (const std::int32_t x : {1, 2, 5, 11}) {
        s.MoveTo(x, 1);
        s.LineTo(x, 7);
    }
    s.FillRect({3, 6, 9, 8}, last);
    s.SetPixel(12, 8, surface::kBlack);
    return s;
}

// Colours that barely compress: the compressed data outgrows the room a barcode needs.
surface::RasterSurface Noise() {
    surface::RasterSurface s(64, 48);
    std::uint32_t state = 1;
    for (std::int32_t y = 0; y < s.height(); ++y) {
        for (std::int32_t x = 0; x < s.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            s.SetPixel(x, y, state >> 8);
        }
    }
    return s;
}

// A grey caption under bars 400 rows high: the repeated rows' zeros run far past Adler-32's
// modulus.
surface::RasterSurface TallGrey() {
    surface::RasterSurface s(300, 420);
    for (std::int32_t x = 10; x < 290; x += 7) s.FillRect({x, 0, x + 3, 400}, surface::kBlack);
    s.FillRect({20, 405, 280, 415}, surface::MakeColour(0x9A, 0x9A, 0x9A));
    s.SetPixel(150, 410, surface::MakeColour(0x31, 0x31, 0x31));
    return s;
}

// In RGB, as a two-colour palette and in grey; libpng's own reader sees the same pixels, and
// refuses a chunk's wrong CRC-32 and the image data's wrong Adler-32, which the encoder
// computes itself.
TEST_F(ImageFileTest, PngKeepsEveryPixelAndRefusesGarbage) {
    const surface::RasterSurface originals[] = {Sample(), Bars(surface::kBlack),
                                                Bars(surface::MakeColour(0x40, 0x40, 0x40)),
                                                Noise(), TallGrey()};
    for (const surface::RasterSurface& original : originals) {
        const fs::path path = directory_ / "sample.png";
        WritePng(original, path);
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
        image.format = PNG_FORMAT_RGB;
        std::vector<std::uint8_t> decoded(PNG_IMAGE_SIZE(image));
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr));
        EXPECT_EQ(decoded, original.ContiguousPixels()) << original.width();
        const surface::RasterSurface read = ReadPng(path);
        ASSERT_EQ(read.width(), original.width());
        EXPECT_EQ(read.ContiguousPixels(), decoded);
        std::ostringstream stream;
        WritePng(original, stream);
        EXPECT_EQ(stream.str(), FileText(path));
    }

    const fs::path garbage = directory_ / "garbage.png";
    std::ofstream(garbage) << "\x89PNG\r\n\x1a\n but then nothing of the sort";
    for (const fs::path& bad : {garbage, directory_ / "missing.png"}) {
        const std::string text = testing::FailureTextOf([&] { ReadPng(bad); });
        EXPECT_TRUE(text.starts_with("platform failure: " + bad.string())) << text;
    }
}

TEST_F(ImageFileTest, NetpbmHeadersAndBits) {
    const surface::RasterSurface s = Sample();
    // Black columns 0-2 everywhere; the mid grey 0x80 is just above half, so it stays white.
    EXPECT_EQ(EncodePbm(s), std::string("P4\n10 3\n\xE0\x00\xE0\x00\xE0\x40", 14));
    // Row 1: black, then grey; row 2 ends in the luma of 12 34 56.
    const std::string pgm = EncodePgm(s);
    EXPECT_EQ(pgm, std::string("P5\n10 3\n255\n\0\0\0\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 22) +
                       std::string("\0\0\0\x80\x80\x80\x80\x80\x80\x80", 10) +
                       std::string("\0\0\0\xFF\xFF\xFF\xFF\xFF\xFF\x2E", 10));
}

TEST_F(ImageFileTest, AtomicWriteReplacesWholeOrNotAtAll) {
    // A new file gets the mode of the umask, a replaced one keeps its own. (Replacing whole and
    // leaving no temporary: the program's test.)
    const fs::path path = directory_ / "out.svg";
    WriteFileAtomically(path, "first");
    const mode_t previousMask = umask(027);
    WriteFileAtomically(directory_ / "new.png", "bytes");
    umask(previousMask);
    EXPECT_EQ(fs::status(directory_ / "new.png").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    WriteFileAtomically(path, "third");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    fs::remove(directory_ / "new.png");

    const fs::path nowhere = directory_ / "no-such-directory" / "out.png";
    EXPECT_EQ(testing::FailureTextOf([&] { WriteFileAtomically(nowhere, "bytes"); }),
              "platform failure: " + nowhere.string() + ": No such file or directory");
    EXPECT_FALSE(fs::exists(nowhere));

    // A directory where the file should be: the rename fails and the temporary goes.
    fs::create_directory(directory_ / "taken");
    EXPECT_EQ(testing::FailureOf([&] { WriteFileAtomically(directory_ / "taken", "bytes"); }),
              FailureReason::PlatformFailure);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), {}), 2);
}

}  // namespace
}  // namespace qv::imagefile
