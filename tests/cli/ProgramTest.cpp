#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "ProgramRun.h"
#include "component/TypeLibraryIdl.h"
#include "imagefile/PngFile.h"

namespace qv::cli::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kEan = "-t ean13 -d 400638133393 -c -w -s";

std::size_t Entries(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

TEST(Program, StatusMessageAndFileFollowTheOutcome) {
    struct Case {
        std::string arguments;
        std::string environment;
        int status;
        std::string err;  // a part of stderr
        bool written;
    };
    const std::vector<Case> cases{
        {std::string(kEan) + " -o out.png", "", 0, "", true},
        {std::string(kEan) + " --width 400 -o out.png", "", 0, "", true},
        {"-t i2of5 -d 123 -o out.png", "LC_ALL=C", 1, "1103 Invalid Expected Length Barcode Text\n",
         false},
        {"-t i2of5 -d 123 -o out.png", "LC_ALL=es_MX.UTF-8", 1,
         "1103 Longitud Esperada del texto a codificar No valida\n", false},
        {std::string(kEan) + " --width 300 --height 0 -o out.png", "", 2, "height above 0", false},
        {std::string(kEan) + " -o missing/out.png", "", 2, "missing/out.png", false},
        {std::string(kEan) + " --onto nothing.png -o out.png", "", 2, "nothing.png", false},
        {"-t code39 -d " + std::string(3000, 'A') + " -o out.png", "", 3, "overflow", false},
        // Warnings change nothing but stderr; 1 is the check digit of 400638133393.
        {"-t ean13 -d 4006381333932 -o out.png", "", 0,
         "warning: drawn as given; its check digit would be 1\n", true},
        {"-t code39 -d 'A*B' -o out.png", "", 0, "warning: a '*' in a Code 39 text", true},
        // The caption is 13 pixels high: bars of 12 are covered from top to bottom.
        {std::string(kEan) + " --height 22 -o out.png", "", 0, "covers every row of the 12-pixel",
         true},
    };
    for (const Case& c : cases) {
        ScratchDirectory dir;
        // A failure must leave an existing file exactly as it was.
        std::ofstream(dir / "out.png") << "old";
        const ProgramRun run = RunProgram(dir, c.arguments, c.environment);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_EQ(c.err.empty(), run.err.empty()) << run.err;
        EXPECT_EQ(ReadFile(dir / "out.png") != "old", c.written) << c.arguments;
        EXPECT_EQ(Entries(dir.path()), 1u) << c.arguments << ": a temporary file was left behind";
    }
}

// The barcode goes onto a copy of the image at --x, --y, clipped to it, and the image keeps
// its transparency where the barcode paints nothing.
TEST(Program, OntoAnImageKeepsItsSizeAndTransparency) {
    ScratchDirectory dir;
    surface::RasterSurface label(30, 12, surface::MakeColour(200, 220, 240));
    std::vector<std::uint8_t> alpha(30 * 12, 100);
    std::ofstream(dir / "label.png", std::ios::binary)
        << imagefile::EncodePng(label, {.dotsPerInch = 0, .alpha = alpha});
    const ProgramRun run = RunProgram(
        dir, std::string(kEan) + " --default-size --onto label.png --x 4 --y 2 -o out.png");
    ASSERT_EQ(run.status, 0) << run.err;
    // 105 x 50 pixels from 4, 2 on a 30 x 12 image.
    EXPECT_NE(run.err.find("79 of its 105 columns and 40 of its 50 rows are cut"),
              std::string::npos)
        << run.err;
    const imagefile::PngWithAlpha result = imagefile::ReadPngWithAlpha(dir / "out.png");
    ASSERT_EQ(result.picture.width(), 30);
    ASSERT_EQ(result.picture.height(), 12);
    EXPECT_EQ(result.picture.PixelAt(0, 0), label.PixelAt(0, 0));  // left of PositionX
    EXPECT_EQ(result.alpha.at(0), 100);
    EXPECT_EQ(result.picture.PixelAt(4, 2), surface::kWhite);  // the white frame starts here
    EXPECT_EQ(result.alpha.at(2 * 30 + 4), 255);
    EXPECT_EQ(result.picture.PixelAt(9, 7), surface::kBlack);  // the first bar
}

TEST(Program, VersionAndTypeLibraryGoToStandardOutput) {
    ScratchDirectory dir;
    EXPECT_TRUE(RunProgram(dir, "--version").out.starts_with("qvbarcode "));
    // The whole description, byte for byte, not a prefix cut off by a short write.
    const ProgramRun idl = RunProgram(dir, "--typelib");
    EXPECT_EQ(idl.status, 0) << idl.err;
    EXPECT_EQ(idl.out, component::TypeLibraryIdl());
}

}  // namespace
}  // namespace qv::cli::test
