// Sizes at a printer's resolution, quiet zones and the caption's printed size, drawn
// in-process; pictures compared as PGM, which holds each pixel's grey level.
#include <gtest/gtest.h>

#include "ApplySettings.h"
#include "ProgramRun.h"
#include "RenderBarcode.h"
#include "imagefile/NetpbmFile.h"

namespace qv::cli {
namespace {

Options Parse(const std::string& commandLine) {
    const ParseResult parsed = test::ParseCommandLine(commandLine + " --format pgm -o -");
    EXPECT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<UsageError>(parsed).message;
    return std::get<Options>(parsed);
}

Drawing Draw(const std::string& commandLine) {
    const Options o = Parse(commandLine);
    BarcodeRenderer renderer({OutputFormat::Pgm, o.dotsPerInch, o.quietZoneModules, {}});
    return renderer.Render(o.settings);
}

std::vector<std::string> Rows(const Drawing& d) {
    std::vector<std::string> rows;
    const std::size_t start = d.bytes.size() - static_cast<std::size_t>(d.width) * d.height;
    for (std::int32_t y = 0; y < d.height; ++y) {
        rows.push_back(d.bytes.substr(start + static_cast<std::size_t>(y) * d.width, d.width));
    }
    return rows;
}

TEST(PrintedSize, LengthsModulesAndQuietZonesGiveThePicturesSize) {
    struct Case {
        std::string commandLine;
        std::int32_t width, height;
        const char* why;
    };
    const std::vector<Case> cases{
        {"-t ean13 -d 400638133393 -c -w", 105, 50, "the control's default size at 96 dpi"},
        {"-t ean13 -d 400638133393 -c -w --dpi 300", 295, 156, "3-pixel modules, 156.25 high"},
        {"-t ean13 -d 400638133393 -c -w --dpi 300 --width 37.29mm --height 25.93mm", 390, 306,
         "440 wide leaves floor(430 / 95) = 4 per module"},
        {"-t ean13 -d 400638133393 -c -w --dpi 300 --module 0.33mm", 390, 156, "3.9 is 4"},
        {"-t ean13 -d 400638133393 -c --module 2.5 --height 0.5in", 190, 48, "2.5 is 2"},
        {"-t ean13 -d 400638133393 -c -w --width 400", 390, 50, "the default height"},
        {"-t ean13 -d 400638133393 -c -w --quiet-zone 11", 127, 50, "11 one-pixel modules"},
        {"-t i2of5 -d 1234567 -c -w --module 3 --quiet-zone 10", 3 * 64 + 10 + 60, 50,
         "8 digits are 64 modules"},
    };
    for (const Case& c : cases) {
        const Drawing d = Draw(c.commandLine);
        EXPECT_EQ(d.code, 0) << c.why;
        EXPECT_EQ(std::make_pair(d.width, d.height), std::make_pair(c.width, c.height)) << c.why;
    }
}

// At 96 dpi the picture is the control's own drawing for the properties it was given before
// there were defaults, pixel for pixel; a quiet zone only adds white columns.
TEST(PrintedSize, TheControlsDrawingIsKeptAndAQuietZoneOnlyAddsWhite) {
    struct Case {
        std::string commandLine;
        ControlSize properties;
    };
    const std::vector<Case> cases{
        {"-t ean13 -d 400638133393 -c -w -s", {0, 0, kTrue}},
        {"-t code39 -d CODE-39 -w -s --width 400 --height 70", {400, 70, kFalse}},
        {"-t i2of5 -d 12345678 -s --height 33", {0, 33, kTrue}},
    };
    for (const Case& c : cases) {
        control::QvBarCode reference;
        ApplySettings(Parse(c.commandLine).settings, c.properties, reference);
        ASSERT_EQ(reference.Draw().AsInt16(), 0);
        const Drawing drawn = Draw(c.commandLine);
        EXPECT_EQ(drawn.bytes, imagefile::EncodePgm(reference.Pic1().Image())) << c.commandLine;
        const Drawing zoned = Draw("--quiet-zone 2 " + c.commandLine);
        const std::size_t zone = static_cast<std::size_t>(zoned.width - drawn.width) / 2;
        const std::vector<std::string> rows = Rows(drawn);
        const std::vector<std::string> zonedRows = Rows(zoned);
        ASSERT_EQ(rows.size(), zonedRows.size());
        for (std::size_t y = 0; y < rows.size(); ++y) {
            ASSERT_EQ(zonedRows[y], std::string(zone, '\xff') + rows[y] + std::string(zone, '\xff'))
                << c.commandLine << ", row " << y;
        }
    }
}

// The caption's box is as high as its line: 13 pixels at 96 dpi, 3.125 times that at 300.
TEST(PrintedSize, TheCaptionKeepsItsPrintedSize) {
    std::int32_t captionRows[2] = {};
    for (int i = 0; i < 2; ++i) {
        const std::string dpi = i == 0 ? " --dpi 96" : " --dpi 300";
        const auto plain = Rows(Draw("-t ean13 -d 400638133393 -c -w" + dpi));
        const auto captioned = Rows(Draw("-t ean13 -d 400638133393 -c -w -s" + dpi));
        for (std::size_t y = 0; y < plain.size(); ++y) captionRows[i] += plain[y] != captioned[y];
    }
    EXPECT_EQ(captionRows[0], 13);
    EXPECT_NEAR(captionRows[1], captionRows[0] * 300.0 / 96.0, 1.0);
}

}  // namespace
}  // namespace qv::cli
