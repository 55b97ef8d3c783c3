#include <gtest/gtest.h>

#include "ApplySettings.h"
#include "RenderBarcode.h"
#include "imagefile/NetpbmFile.h"
#include "imagefile/PngFile.h"

namespace qv::cli {
namespace {

// Every format holds Pic1's picture at exactly Pic1's size, also with a reused renderer.
TEST(OutputSize, EveryFormatHasTheSizeOfPic1) {
    std::vector<BarcodeSettings> settings(3);
    settings[0].text = "400638133393";
    settings[0].barCodeType = control::QvTypeEan13;
    settings[0].calculateCheckDigit = kTrue;
    settings[0].barWidthSource = kTrue;
    settings[0].showValue = kTrue;
    settings[1].text = "CODE 39";
    settings[1].barCodeType = control::QvTypeCode39;
    settings[1].barWidth = 400;
    settings[1].barHeight = 70;
    settings[1].backgroundWhite = kTrue;
    settings[2] = settings[0];
    settings[2].barHeight = 33;

    BarcodeRenderer png(OutputFormat::Png, std::nullopt);
    BarcodeRenderer svg(OutputFormat::Svg, std::nullopt);
    BarcodeRenderer pgm(OutputFormat::Pgm, std::nullopt);
    for (const BarcodeSettings& s : settings) {
        control::QvBarCode reference;
        ApplySettings(s, reference);
        ASSERT_EQ(reference.Draw().AsInt16(), 0) << *s.text;
        const std::int32_t w = reference.Pic1().Width();
        const std::int32_t h = reference.Pic1().Height();

        const Drawing drawnPng = png.Render(s);
        EXPECT_EQ(drawnPng.bytes, imagefile::EncodePng(reference.Pic1().Image())) << *s.text;
        const Drawing drawnPgm = pgm.Render(s);
        EXPECT_TRUE(
            drawnPgm.bytes.starts_with("P5\n" + std::to_string(w) + " " + std::to_string(h) + "\n"))
            << *s.text;
        const Drawing drawnSvg = svg.Render(s);
        const std::string size =
            "width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) + "\"";
        EXPECT_NE(drawnSvg.bytes.find(size), std::string::npos) << *s.text;
    }
}

}  // namespace
}  // namespace qv::cli
