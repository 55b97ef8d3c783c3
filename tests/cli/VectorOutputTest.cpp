// PDF and EPS as a print shop gets them: rasterised at the resolution they were made for by
// poppler and Ghostscript, then read back by an independent reader.
#include <gtest/gtest.h>

#include <fstream>

#include "ProgramRun.h"
#include "imagefile/PngFile.h"

namespace qv::cli::test {
namespace {

TEST(VectorOutput, PdfAndEpsPrintAtTheirSizeAndScan) {
    ScratchDirectory dir;
    std::ofstream(dir / "items.csv", std::ios::binary)
        << "\xEF\xBB\xBF\"SKU\",\"Description\",\"EAN\"\r\n"
        << "\"A-1\",\"Nuts, roasted\",\"4006381333931\"\r\n"
        << "\"A-2\",\"Oats\",\"5901234123457\"";
    const ProgramRun batch =
        RunProgram(dir,
                   "--batch items.csv --text-column EAN -t ean13 -w -s --dpi 300 --width 37.29mm "
                   "--height 25.93mm --quiet-zone 11 -o 'labels/{SKU}.pdf'");
    ASSERT_EQ(batch.status, 0) << batch.err;
    const ProgramRun eps = RunProgram(
        dir, "-t i2of5 -d 12345678 -w -s --dpi 300 --module 0.5mm --quiet-zone 10 -o itf.eps");
    ASSERT_EQ(eps.status, 0) << eps.err;
    // 514 x 156 pixels at 300 dpi: 64 modules of 6, the margins and 2 x 10 modules of zone.
    EXPECT_NE(ReadFile(dir / "itf.eps").find("%%HiResBoundingBox: 0 0 123.3600 37.4400\n"),
              std::string::npos);

    struct Case {
        std::string rasterise;  // into page.png
        std::string text;
        std::int32_t width, height;
        std::int32_t slack;  // EPS boxes are whole points: up to 4 more pixels
    };
    const std::vector<Case> cases{
        // 440 pixels wide leave 4-pixel modules: 390 and 2 x 44 of zone; 306 high.
        {"pdftoppm -r 300 -png -singlefile labels/A-1.pdf page", "4006381333931", 478, 306, 1},
        {"pdftoppm -r 300 -png -singlefile labels/A-2.pdf page", "5901234123457", 478, 306, 1},
        {"gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r300 -sDEVICE=png16m "
         "-sOutputFile=page.png itf.eps",
         "12345678", 514, 156, 4},
    };
    for (const Case& c : cases) {
        const ProgramRun rasterised = RunShell(dir, c.rasterise);
        ASSERT_EQ(rasterised.status, 0) << c.rasterise << "\n" << rasterised.err;
        const surface::RasterSurface page = imagefile::ReadPng(dir / "page.png");
        EXPECT_NEAR(page.width(), c.width, c.slack) << c.rasterise;
        EXPECT_NEAR(page.height(), c.height, c.slack) << c.rasterise;
        EXPECT_EQ(DecodePng(dir / "page.png"), c.text) << c.rasterise;
    }
    // The caption is text in the PDF, not a picture of it.
    EXPECT_NE(RunShell(dir, "pdftotext labels/A-1.pdf -").out.find("4006381333931"),
              std::string::npos);
}

}  // namespace
}  // namespace qv::cli::test
