#include <png.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "component/FailedCall.h"
#include "symbology/AtomicFile.h"
#include "symbology/NetpbmFile.h"
#include "symbology/PngFile.h"

namespace qv::symbology {
namespace {

namespace fs = std::filesystem;
using component::FailedCall;
using component::FailureReason;

class ImageFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("qv-image-" + std::to_string(getpid()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::size_t FileCount() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(directory_), {}));
    }

    fs::path directory_;
};

RasterSurface Sample() {
    RasterSurface s(10, 3);
    s.FillRect({0, 0, 3, 3}, kBlack);
    s.FillRect({3, 1, 10, 2}, MakeColour(0x80, 0x80, 0x80));
    s.SetPixel(9, 2, MakeColour(0x12, 0x34, 0x56));
    return s;
}

TEST_F(ImageFileTest, PngRoundTripKeepsEveryPixel) {
    const RasterSurface original = Sample();
    const fs::path path = directory_ / "sample.png";
    WritePng(original, path);
    EXPECT_EQ(Read(path).substr(1, 3), "PNG");
    const RasterSurface read = ReadPng(path);
    ASSERT_EQ(read.width(), original.width());
    ASSERT_EQ(read.height(), original.height());
    for (std::int32_t y = 0; y < read.height(); ++y) {
        EXPECT_EQ(std::memcmp(read.RowData(y), original.RowData(y), read.RowBytes()), 0)
            << "row " << y;
    }
    std::ostringstream stream;
    WritePng(original, stream);
    EXPECT_EQ(stream.str(), Read(path));
}

TEST_F(ImageFileTest, ReadPngExpandsGreyAndRefusesGarbage) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = PNG_FORMAT_GRAY;
    const std::uint8_t grey[2] = {0x00, 0xC8};
    const fs::path path = directory_ / "grey.png";
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, grey, 0, nullptr));
    const RasterSurface read = ReadPng(path);
    EXPECT_EQ(read.PixelAt(0, 0), kBlack);
    EXPECT_EQ(read.PixelAt(1, 0), MakeColour(0xC8, 0xC8, 0xC8));

    const fs::path garbage = directory_ / "garbage.png";
    std::ofstream(garbage) << "\x89PNG\r\n\x1a\n but then nothing of the sort";
    for (const fs::path& bad : {garbage, directory_ / "missing.png"}) {
        try {
            ReadPng(bad);
            ADD_FAILURE() << bad << " read";
        } catch (const FailedCall& failure) {
            EXPECT_EQ(failure.reason(), FailureReason::PlatformFailure);
            EXPECT_NE(std::string(failure.what()).find(bad.string()), std::string::npos);
        }
    }
}

TEST_F(ImageFileTest, NetpbmHeadersAndBits) {
    const RasterSurface s = Sample();
    // Black columns 0-2 everywhere; the mid grey 0x80 is just above half, so it stays white.
    EXPECT_EQ(EncodePbm(s), std::string("P4\n10 3\n\xE0\x00\xE0\x00\xE0\x40", 14));
    const std::string pgm = EncodePgm(s);
    ASSERT_EQ(pgm.size(), std::string("P5\n10 3\n255\n").size() + 30);
    EXPECT_EQ(pgm.substr(0, 12), "P5\n10 3\n255\n");
    EXPECT_EQ(pgm.substr(12, 10), std::string("\0\0\0\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 10));
    EXPECT_EQ(static_cast<std::uint8_t>(pgm[12 + 10 + 5]), 0x80);
    EXPECT_EQ(static_cast<std::uint8_t>(pgm[12 + 29]), 0x2E);  // luma of 12 34 56

    WritePgm(s, directory_ / "s.pgm");
    EXPECT_EQ(Read(directory_ / "s.pgm"), pgm);
}

TEST_F(ImageFileTest, AtomicWriteReplacesWholeOrNotAtAll) {
    const fs::path path = directory_ / "out.svg";
    WriteFileAtomically(path, "first version, the longer one");
    WriteFileAtomically(path, "second");
    EXPECT_EQ(Read(path), "second");
    EXPECT_EQ(FileCount(), 1u) << "no temporary file left beside it";

    const fs::path nowhere = directory_ / "no-such-directory" / "out.png";
    try {
        WriteFileAtomically(nowhere, "bytes");
        ADD_FAILURE() << "wrote into a missing directory";
    } catch (const FailedCall& failure) {
        EXPECT_EQ(failure.reason(), FailureReason::PlatformFailure);
        const std::string expected = nowhere.string() + ": No such file or directory";
        const std::string what = failure.what();
        EXPECT_EQ(what.substr(what.size() - std::min(what.size(), expected.size())), expected);
    }
    EXPECT_FALSE(fs::exists(nowhere));

    // A directory where the file should be: the rename fails and the temporary goes.
    fs::create_directory(directory_ / "taken");
    EXPECT_THROW(WriteFileAtomically(directory_ / "taken", "bytes"), FailedCall);
    EXPECT_EQ(FileCount(), 2u);
}

}  // namespace
}  // namespace qv::symbology
