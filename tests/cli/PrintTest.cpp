// SPDX-License-Identifier: MIT
// Labels printed through a print server of the test's own, into PDF files: each page comes
// out on media of its sheet's or label's size, at 100% and unrotated, and reads back; a
// missing queue and a server that does not answer are told apart.
#include <gtest/gtest.h>

#include <fstream>

#include "PrintServer.h"
#include "ReadBack.h"
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

// A label, a batch or a repeated barcode goes to the queue as its one document: every page
// comes out as large as the document's, and every label reads where the document has it,
// its bars where the document's are and inked as wide and high. The queue's printer prints
// at 300 dpi: its pages are read at twice that.
TEST(Printing, DocumentsComeOutPageForPageAtFullScale) {
    struct Case {
        std::string commandLine;                       // writes the document too, and prints
        std::string document;                          // or the failure's message
        std::vector<std::vector<std::string>> labels;  // by page, "" for a blank label
        std::string sheet = "";                        // the labels' places; "" a page each
    };
    const std::string a = "4006381333931", b = "5901234123457", c = "9780201379624";
    const std::string batch = "qvbarcode --batch list.txt -t ean13 -w -s --dpi 300 --module 6px ";
    const std::string small = "130x70mm:2x2:60x30mm:4x4mm:62x32mm";
    const std::vector<Case> cases{
        {"qvbarcode -t ean13 -d 400638133393 -c -w -s --dpi 300 --magnification 100% "
         "--quiet-zone std -o label.pdf --print labels",
         "label.pdf",
         {{a}}},
        {"qvbarcode -t code39 -d QV-26 -w -s --dpi 203 --module 0.25mm --quiet-zone std "
         "-o label.eps --print",
         "label.eps",
         {{"QV-26"}}},
        {batch + "--sheet " + small + " --copies 2 -o doc.pdf --print",
         "doc.pdf",
         {{a, a, b, b}, {c, c, "", ""}},
         small},
        {batch + "--quiet-zone std -o doc.pdf --print labels", "doc.pdf", {{a}, {b}, {c}}},
        {"qvbarcode -t ean13 -d " + a +
             " -w --dpi 203 --module 3px --quiet-zone std --copies 2 -o doc.pdf --print",
         "doc.pdf",
         {{a}, {a}}},
        {"qvbarcode -t code39 -d A --print nosuch", "there is no printer queue 'nosuch'", {}},
        {"CUPS_SERVER=/nonexistent/cups.sock qvbarcode -t code39 -d A --print",
         "cannot reach the print server /nonexistent/cups.sock",
         {}},
    };
    PrintServer server;
    ASSERT_EQ(server.failure, "");
    for (const Case& k : cases) {
        ScratchDirectory dir;
        std::ofstream(dir / "list.txt") << a << "\n" << b << "\n" << c << "\n";
        const ProgramRun run = RunShell(dir, k.commandLine);
        if (k.labels.empty()) {
            EXPECT_EQ(run.status, 2) << k.commandLine;
            EXPECT_TRUE(Holds(run.err, k.document)) << k.commandLine;
            continue;
        }
        ASSERT_EQ(run.status, 0) << k.commandLine << "\n" << run.err;
        EXPECT_TRUE(Holds(run.out, "sent to printer queue labels as job")) << run.out;
        const std::filesystem::path printed = server.NextPdf();
        ASSERT_FALSE(printed.empty()) << k.commandLine;
        const std::vector<Page> pages = Rasterise(dir, printed.string(), "printed", 600),
                                written = Rasterise(dir, k.document, "written", 600);
        ASSERT_EQ(pages.size(), k.labels.size()) << k.commandLine;
        ASSERT_EQ(written.size(), k.labels.size()) << k.commandLine;
        const auto found = FindSheet(k.sheet, std::string(kSheetTemplateFolder));
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const std::string where = k.commandLine + ", page " + std::to_string(p + 1);
            EXPECT_NEAR(pages[p].image.width(), written[p].image.width(), 2) << where;
            EXPECT_NEAR(pages[p].image.height(), written[p].image.height(), 2) << where;
            for (std::size_t i = 0; i < k.labels[p].size(); ++i) {
                const auto label = [&](const Page& page) {
                    if (k.sheet.empty()) return page;
                    const SheetLayout& sheet = std::get<SheetLayout>(found);
                    const LabelPlace place = PlaceOf(sheet, static_cast<std::int64_t>(i));
                    return page.Cut(place.left, place.top, sheet.labelWidth, sheet.labelHeight);
                };
                const Page out = label(pages[p]), drawn = label(written[p]);
                const std::string& want = k.labels[p][i];
                EXPECT_EQ(Decode(out.image), want.empty() ? "not read" : want) << where << i;
                if (want.empty()) continue;
                const auto box = InkBox(out), inked = InkBox(drawn);
                for (int j = 0; j < 4; ++j) EXPECT_NEAR(box[j], inked[j], 1.0) << where << i;
                const std::vector<double> bars = BarMiddles(out.image),
                                          drawnBars = BarMiddles(drawn.image);
                ASSERT_EQ(bars.size(), drawnBars.size()) << where << i;
                for (std::size_t j = 0; j < bars.size(); ++j) {
                    EXPECT_NEAR(bars[j], drawnBars[j], 2) << where << i << ", bar " << j;
                }
            }
        }
    }
    // A job's copies come out as that many pages, on the default queue.
    ScratchDirectory dir;
    ASSERT_EQ(RunShell(dir, "qvbarcode -t ean13 -d 400638133393 -c -w -o label.pdf").status, 0);
    const PrintResult result =
        PrintDocument("", {FileText(dir / "label.pdf"), DocumentKind::Pdf, 40, 20, 3});
    ASSERT_EQ(result.failure, "");
    EXPECT_EQ(result.queue, "labels");
    EXPECT_EQ(Rasterise(dir, server.NextPdf().string()).size(), 3u);
}

}  // namespace
}  // namespace qv::cli::test
