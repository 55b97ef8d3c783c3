// SPDX-License-Identifier: MIT
// Labels printed through a print server of the test's own, into PDF files: each comes out
// on a page of its own size, at 100% and unrotated, and reads back; a missing queue and a
// server that does not answer are told apart.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include <qvbarcode/imagefile/PngFile.h>
#include "DecodeBarcode.h"
#include "PrintServer.h"
#include "SheetPages.h"
#include "input/SheetTemplates.h"
#include "output/PrintQueue.h"

namespace qv::cli::test {
namespace {

// The middles of the bars in the picture's middle row: where they are tells the scale, and
// they stay where they are when a print filter's resampling widens the bars.
std::vector<double> BarMiddles(const surface::RasterSurface& picture) {
    std::vector<double> middles;
    int start = -1;
    for (int x = 0; x <= picture.width(); ++x) {
        const bool dark =
            x < picture.width() && (picture.PixelAt(x, picture.height() / 2) & 0xFF) < 128;
        if (dark && start < 0) start = x;
        if (!dark && start >= 0) {
            middles.push_back((start + x) / 2.0);
            start = -1;
        }
    }
    return middles;
}

// Whether pdfinfo says the file has that many pages.
bool HasPages(const ScratchDirectory& dir, const std::filesystem::path& pdf, int pages) {
    return RunShell(dir, "pdfinfo '" + pdf.string() + "' | grep -q '^Pages: *" +
                             std::to_string(pages) + "$'")
               .status == 0;
}

TEST(Printing, ALabelComesOutOnItsOwnSizeAtFullScaleAndReads) {
    struct Case {
        std::string commandLine;  // writes label.pdf or label.eps too, to compare with
        std::string rasterise;    // that file, at 600 dpi, into reference.png; "" fails
        std::string text;         // or the failure's message
    };
    const std::vector<Case> cases{
        {"qvbarcode -t ean13 -d 400638133393 -c -w -s --dpi 300 --magnification 100% "
         "--quiet-zone std -o label.pdf --print labels",
         "pdftoppm -r 600 -png -singlefile label.pdf reference", "4006381333931"},
        {"qvbarcode -t code39 -d QV-26 -w -s --dpi 203 --module 0.25mm --quiet-zone std "
         "-o label.eps --print",
         "gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=png16m -r600 "
         "-sOutputFile=reference.png label.eps",
         "QV-26"},
        {"qvbarcode -t code39 -d A --print nosuch", "", "there is no printer queue 'nosuch'"},
        {"CUPS_SERVER=/nonexistent/cups.sock qvbarcode -t code39 -d A --print", "",
         "cannot reach the print server /nonexistent/cups.sock"},
    };
    PrintServer server;
    ASSERT_EQ(server.failure, "");
    std::set<std::filesystem::path> seen;
    for (const Case& c : cases) {
        ScratchDirectory dir;
        const ProgramRun run = RunShell(dir, c.commandLine);
        if (c.rasterise.empty()) {
            EXPECT_EQ(run.status, 2) << c.commandLine;
            EXPECT_TRUE(Holds(run.err, c.text)) << c.commandLine;
            continue;
        }
        ASSERT_EQ(run.status, 0) << c.commandLine << "\n" << run.err;
        EXPECT_TRUE(Holds(run.out, "sent to printer queue labels as job"));
        std::filesystem::path printed;
        for (const auto& file : server.WaitForPdfs(seen.size() + 1)) {
            if (seen.insert(file).second) printed = file;
        }
        ASSERT_FALSE(printed.empty()) << c.commandLine;
        EXPECT_TRUE(HasPages(dir, printed, 1));
        // The queue's printer prints at 300 dpi: its pictures are read at twice that.
        ASSERT_EQ(RunShell(dir, c.rasterise + " && pdftoppm -r 600 -png -singlefile '" +
                                    printed.string() + "' printed")
                      .status,
                  0);
        const auto reference = imagefile::ReadPng(dir / "reference.png");
        const auto page = imagefile::ReadPng(dir / "printed.png");
        // The page is the label's size, and every bar where the label has it.
        EXPECT_NEAR(page.width(), reference.width(), 2) << c.commandLine;
        EXPECT_NEAR(page.height(), reference.height(), 2) << c.commandLine;
        const std::vector<double> bars = BarMiddles(page), drawn = BarMiddles(reference);
        ASSERT_EQ(bars.size(), drawn.size()) << c.commandLine;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            EXPECT_NEAR(bars[i], drawn[i], 2) << c.commandLine << ", bar " << i;
        }
        EXPECT_EQ(Decode(page), c.text) << c.commandLine;
    }
}

// A batch or a repeated barcode goes to the queue as its one document: every page comes out
// on media of its sheet's or label's size, and every label reads where the document has it,
// inked as wide and high.
TEST(Printing, DocumentsComeOutPageForPageAtFullScale) {
    struct Case {
        std::string commandLine;                       // writes doc.pdf too, and prints
        std::string sheet;                             // the labels' places; "" a page each
        std::vector<std::vector<std::string>> labels;  // by page, "" for a blank label
    };
    const std::string a = "4006381333931", b = "5901234123457", c = "9780201379624";
    const std::string batch = "qvbarcode --batch list.txt -t ean13 -w -s --dpi 300 --module 6px ";
    const std::string small = "130x70mm:2x2:60x30mm:4x4mm:62x32mm";
    const std::vector<Case> cases{
        {batch + "--sheet " + small + " --copies 2 -o doc.pdf --print",
         small,
         {{a, a, b, b}, {c, c, "", ""}}},
        {batch + "--quiet-zone std -o doc.pdf --print labels", "", {{a}, {b}, {c}}},
        {"qvbarcode -t ean13 -d " + a +
             " -w --dpi 203 --module 3px --quiet-zone std --copies 2 -o doc.pdf --print",
         "",
         {{a}, {a}}},
    };
    PrintServer server;
    ASSERT_EQ(server.failure, "");
    std::set<std::filesystem::path> seen;
    for (const Case& k : cases) {
        ScratchDirectory dir;
        std::ofstream(dir / "list.txt") << a << "\n" << b << "\n" << c << "\n";
        const ProgramRun run = RunShell(dir, k.commandLine);
        ASSERT_EQ(run.status, 0) << k.commandLine << "\n" << run.err;
        EXPECT_TRUE(Holds(run.out, "sent to printer queue labels as job")) << run.out;
        std::filesystem::path printed;
        for (const auto& file : server.WaitForPdfs(seen.size() + 1)) {
            if (seen.insert(file).second) printed = file;
        }
        ASSERT_FALSE(printed.empty()) << k.commandLine;
        const std::vector<Page> pages = Rasterise(dir, printed.string(), "printed");
        const std::vector<Page> written = Rasterise(dir, "doc.pdf", "written");
        ASSERT_EQ(pages.size(), k.labels.size()) << k.commandLine;
        ASSERT_EQ(written.size(), k.labels.size()) << k.commandLine;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const std::string where = k.commandLine + ", page " + std::to_string(p + 1);
            const surface::RasterSurface &page = pages[p].image, &doc = written[p].image;
            EXPECT_NEAR(page.width(), doc.width(), 2) << where;
            EXPECT_NEAR(page.height(), doc.height(), 2) << where;
            if (k.sheet.empty()) {
                EXPECT_EQ(Decode(page), k.labels[p][0]) << where;
                const auto box = InkBox(page), drawn = InkBox(doc);
                for (int i = 0; i < 4; ++i) EXPECT_NEAR(box[i], drawn[i], 1.0) << where;
                continue;
            }
            const auto found = FindSheet(k.sheet, std::string(kSheetTemplateFolder));
            const SheetLayout& sheet = std::get<SheetLayout>(found);
            for (std::size_t i = 0; i < k.labels[p].size(); ++i) {
                const LabelPlace place = PlaceOf(sheet, static_cast<std::int64_t>(i));
                const surface::RasterSurface cut =
                    pages[p].Cut(place.left, place.top, sheet.labelWidth, sheet.labelHeight);
                const std::string& want = k.labels[p][i];
                EXPECT_EQ(Decode(cut), want.empty() ? "not read" : want) << where << ", " << i;
                if (want.empty()) continue;
                const auto box = InkBox(cut),
                           drawn = InkBox(written[p].Cut(place.left, place.top, sheet.labelWidth,
                                                         sheet.labelHeight));
                for (int j = 0; j < 4; ++j)
                    EXPECT_NEAR(box[j], drawn[j], 1.0) << where << ", " << i;
            }
        }
    }
}

// A document printed with copies comes out as that many pages, on the default queue.
TEST(Printing, CopiesAreThatManyPages) {
    PrintServer server;
    ASSERT_EQ(server.failure, "");
    ScratchDirectory dir;
    ASSERT_EQ(RunShell(dir,
                       "qvbarcode -t ean13 -d 400638133393 -c -w --dpi 254 --width 400 "
                       "--height 200 -o label.pdf")
                  .status,
              0);
    const std::string document = FileText(dir / "label.pdf");
    const PrintResult result = PrintDocument("", {document, DocumentKind::Pdf, 40, 20, 3});
    ASSERT_EQ(result.failure, "");
    EXPECT_EQ(result.queue, "labels");
    const auto printed = server.WaitForPdfs(1);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_TRUE(HasPages(dir, printed[0], 3));
}

}  // namespace
}  // namespace qv::cli::test
