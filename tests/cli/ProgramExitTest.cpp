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

constexpr const char* kEan = "-t ean13 -d 400638133393 -c -w -s --default-size";

TEST(ProgramExit, StatusMessageAndFileFollowTheOutcome) {
    struct Case {
        std::string arguments;
        std::string environment;
        int status;
        std::string err;  // a part of stderr
        bool written;
    };
    const std::string longCode39(3000, 'A');
    const std::vector<Case> cases{
        {std::string(kEan) + " -o out.png", "", 0, "", true},
        {"-t i2of5 -d 123 --default-size -o out.png", "LC_ALL=C", 1,
         "1103 Invalid Expected Length Barcode Text\n", false},
        {"-t i2of5 -d 123 --default-size -o out.png", "LC_ALL=es_MX.UTF-8", 1,
         "1103 Longitud Esperada del texto a codificar No valida\n", false},
        {"-t 9 -d 1 --default-size -o out.png", "LC_ALL=C", 1, "1100 Invalid Barcode Type", false},
        {"-t ean13 -d 400638133393 -c --width 300 -o out.png", "", 2, "--height", false},
        {std::string(kEan) + " --bogus -o out.png", "", 2, "unknown option --bogus", false},
        {std::string(kEan) + " -o missing/out.png", "", 2, "missing/out.png", false},
        {std::string(kEan) + " --onto nothing.png -o out.png", "", 2, "nothing.png", false},
        {std::string(kEan) + " --onto notes.txt -o out.png", "", 2, "notes.txt", false},
        {"-t code39 -d " + longCode39 + " --default-size -o out.png", "", 3, "overflow", false},
    };
    for (const Case& c : cases) {
        ScratchDirectory dir;
        std::ofstream(dir / "notes.txt") << "not a picture\n";
        // A failure must leave an existing file exactly as it was.
        std::ofstream(dir / "out.png") << "old";
        const ProgramRun run = RunProgram(dir, c.arguments, c.environment);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_EQ(ReadFile(dir / "out.png") != "old", c.written) << c.arguments;
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) {
            ++entries;
        }
        EXPECT_EQ(entries, 2u) << c.arguments << ": a temporary file was left behind";
    }
}

TEST(ProgramExit, StandardOutputGetsTheChosenFormat) {
    ScratchDirectory dir;
    const ProgramRun pbm = RunProgram(dir, std::string(kEan) + " --format pbm -o -");
    EXPECT_EQ(pbm.status, 0) << pbm.err;
    EXPECT_TRUE(pbm.out.starts_with("P4\n105 50\n")) << pbm.out.substr(0, 12);
    const ProgramRun svg = RunProgram(dir, std::string(kEan) + " --format=svg -o -");
    EXPECT_NE(svg.out.find("width=\"105\" height=\"50\""), std::string::npos);
}

TEST(ProgramExit, OntoASmallerPictureClipsTheBarcode) {
    ScratchDirectory dir;
    surface::RasterSurface label(30, 12, surface::MakeColour(200, 220, 240));
    imagefile::WritePng(label, dir / "label.png");
    const ProgramRun run =
        RunProgram(dir, std::string(kEan) + " --onto label.png --x 4 --y 2 -o out.png");
    ASSERT_EQ(run.status, 0) << run.err;
    const surface::RasterSurface result = imagefile::ReadPng(dir / "out.png");
    EXPECT_EQ(result.width(), 30);
    EXPECT_EQ(result.height(), 12);
    EXPECT_EQ(result.PixelAt(0, 0), label.PixelAt(0, 0));  // left of PositionX: untouched
    EXPECT_EQ(result.PixelAt(4, 2), surface::kWhite);      // the white frame starts here
    EXPECT_EQ(result.PixelAt(9, 7), surface::kBlack);      // the first bar
}

TEST(ProgramExit, HelpVersionAndTypeLibraryGoToStandardOutput) {
    ScratchDirectory dir;
    const ProgramRun help = RunProgram(dir, "--help");
    EXPECT_EQ(help.status, 0);
    for (const char* part : {"--onto", "--batch", "i2of5", "s2of5", "code39", "ean13"}) {
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    }
    const ProgramRun version = RunProgram(dir, "--version");
    EXPECT_TRUE(version.out.starts_with("qvbarcode ")) << version.out;
    // The whole description, byte for byte, not a prefix cut off by a short write.
    const ProgramRun idl = RunProgram(dir, "--typelib");
    EXPECT_EQ(idl.status, 0) << idl.err;
    EXPECT_NE(idl.out.find("library QvBarCodePro\n{"), std::string::npos) << idl.out;
    EXPECT_EQ(idl.out, component::TypeLibraryIdl());
}

}  // namespace
}  // namespace qv::cli::test
