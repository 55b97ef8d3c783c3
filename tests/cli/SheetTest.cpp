// SPDX-License-Identifier: MIT
// A batch into one document: sheets from the installed templates or a geometry, each label
// found where its sheet puts it and read back; a page per label otherwise, in the list's
// order with the failed records left out.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <qvbarcode/imagefile/PngFile.h>
#include "ProgramRun.h"
#include "ReadBack.h"
#include "input/SheetTemplates.h"

namespace qv::cli::test {
namespace {

constexpr double kMm = 72.0 / 25.4;

// Sizes as the templates' files give them, and the reasons others are not found.
TEST(SheetTemplates, SheetsAreFoundByNameOrGeometryWithTheirLabelsPlaces) {
    struct Case {
        std::string name;
        double unit;  // the sizes' and places', in points
        double page[2], label[2];
        LabelGrid grid;
        bool round = false;
    };
    const std::string folder(kSheetTemplateFolder);
    const Case cases[] = {
        // avery-us-templates.xml: 2.625 x 1 in on US Letter, 3 x 10 from 0.15625, 0.5 in.
        {"aVERY 5160", 1, {612, 792}, {189, 72}, {3, 10, 11.25, 36, 200.25, 72}},
        // Round, radius 1.25 in: its diameter both ways.
        {"Avery 3274.3", 1, {612, 792}, {180, 180}, {3, 3, 22.5, 90, 193.5, 216}, true},
        // avery-iso-templates.xml: J8654 is equivalent to L4770, 45.7 x 25.4 mm on A4.
        {"Avery J8654", kMm, {210, 297}, {45.7, 25.4}, {4, 10, 10, 22, 48.5, 25.4}},
        {"a4:3x8:63.5x33.9mm:7.21x12.9mm:66.04x33.9mm",
         kMm,
         {210, 297},
         {63.5, 33.9},
         {3, 8, 7.21, 12.9, 66.04, 33.9}},
        {"100x50mm:1x1:10x10mm:0x0mm:0x0mm", kMm, {100, 50}, {10, 10}, {1, 1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const auto found = FindSheet(c.name, folder);
        ASSERT_TRUE(std::holds_alternative<SheetLayout>(found)) << std::get<std::string>(found);
        const SheetLayout& s = std::get<SheetLayout>(found);
        ASSERT_EQ(s.grids.size(), 1u) << c.name;
        const LabelGrid& g = s.grids[0];
        EXPECT_EQ(s.round, c.round) << c.name;
        EXPECT_EQ(std::pair(g.columns, g.rows), std::pair(c.grid.columns, c.grid.rows)) << c.name;
        const double got[] = {s.pageWidth, s.pageHeight, s.labelWidth, s.labelHeight,
                              g.left,      g.top,        g.pitchX,     g.pitchY};
        const double want[] = {c.page[0],   c.page[1],  c.label[0],    c.label[1],
                               c.grid.left, c.grid.top, c.grid.pitchX, c.grid.pitchY};
        for (int i = 0; i < 8; ++i) EXPECT_NEAR(got[i], want[i] * c.unit, 1e-3) << c.name << i;
    }
    const std::tuple<std::string, std::string, std::string> refused[] = {
        {"a4:3x8:63.5x33.9mm", folder, "PAGE:COLUMNSxROWS"},
        {"a4:0x8:63.5x33.9mm:7x12mm:66x33mm", folder, "PAGE:COLUMNSxROWS"},
        {"a5:3x8:63.5x33.9mm:7x12mm:66x33mm", folder, "PAGE:COLUMNSxROWS"},
        {"a4:3x8:63.5x33.9in:7x12mm:66x33mm", folder, "PAGE:COLUMNSxROWS"},
        {"Nobody 1", folder, "--sheet list"},
        {"Avery 5160", "/nonexistent", "glabels-data"},
    };
    for (const auto& [name, in, why] : refused) {
        const auto found = FindSheet(name, in);
        ASSERT_TRUE(std::holds_alternative<std::string>(found)) << name;
        EXPECT_TRUE(Holds(std::get<std::string>(found), why));
    }
}

// A template whose labels cannot be laid out is left out, not laid out at infinite or
// overflowing places: lengths that overflow to infinity, grids beyond the geometry's limits.
TEST(SheetTemplates, TemplatesThatCannotBeLaidOutAreLeftOut) {
    struct Case {
        const char* page;
        const char* label;
        const char* grid;  // a layout's attributes
        bool found;
    };
    const Case cases[] = {
        {"100mm", "10mm", "nx='3' ny='2' x0='1mm' dx='11mm' dy='11mm'", true},
        {"1e308in", "10mm", "nx='1' ny='1'", false},
        {"100mm", "1e308in", "nx='1' ny='1'", false},
        {"100mm", "10mm", "nx='3' ny='1' dx='1e308in'", false},
        {"100mm", "10mm", "nx='1001' ny='1' dx='1mm'", false},
        {"100mm", "10mm", "nx='1000' ny='1000'/><Layout nx='1' ny='1'", false},
    };
    ScratchDirectory dir;
    for (const Case& c : cases) {
        std::ofstream(dir / "x-templates.xml")
            << "<Glabels-templates><Template brand='B' part='P' width='" << c.page
            << "' height='100mm'><Label-rectangle width='" << c.label << "' height='10mm'><Layout "
            << c.grid << "/></Label-rectangle></Template>"
            << "</Glabels-templates>";
        const auto found = FindSheet("B P", dir.path);
        EXPECT_EQ(std::holds_alternative<SheetLayout>(found), c.found) << c.page << c.grid;
    }
}

// Each label of every sheet holds its record's barcode, centred (moved by the offset), or
// nothing: the labels before --first and after the last record stay blank.
TEST(SheetDocument, EveryLabelIsWhereItsSheetPutsIt) {
    struct Case {
        std::string options;
        std::vector<std::string> labels;  // by sheet, a letter a record's text, _ a blank label
        double offset[2] = {};            // millimetres
        // 130 x 70 mm, 2 x 2 labels of 60 x 30 mm from 4, 4 mm, 62 and 32 mm apart.
        std::string sheetName = "130x70mm:2x2:60x30mm:4x4mm:62x32mm";
    };
    const std::string texts[] = {"4006381333931", "5901234123457", "9780201379624"};
    const Case cases[] = {
        {"--first 2", {"_abc"}},
        {"--copies 2", {"aabb", "cc__"}},
        {"--first 4 --offset 3mm,-2mm --outline", {"___a", "bc__"}, {3, -2}},
        {"--first 3 --copies 2 --offset -2mm,1.5mm", {"__aa", "bbcc"}, {-2, 1.5}},
        {"--first 29", {std::string(28, '_') + "ab", "c"}, {}, "Avery 5160"},
    };
    for (const Case& k : cases) {
        ScratchDirectory dir;
        std::ofstream(dir / "list.txt") << texts[0] + "\n" + texts[1] + "\n" + texts[2];
        const ProgramRun run = RunShell(dir,
                                        "qvbarcode --batch list.txt -t ean13 -w -s "
                                        "--dpi 300 --module 6px --sheet '" +
                                            k.sheetName + "' " + k.options + " -o sheets.pdf");
        ASSERT_EQ(run.status, 0) << run.err;
        const auto found = FindSheet(k.sheetName, std::string(kSheetTemplateFolder));
        const SheetLayout& sheet = std::get<SheetLayout>(found);
        const std::vector<Page> pages = Rasterise(dir, "sheets.pdf");
        ASSERT_EQ(pages.size(), k.labels.size()) << k.options;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            for (std::size_t i = 0; i < k.labels[p].size(); ++i) {
                const LabelPlace place = PlaceOf(sheet, static_cast<std::int64_t>(i));
                const double left = place.left + k.offset[0] * kMm,
                             top = place.top + k.offset[1] * kMm;
                // The border's line stays outside the cut.
                const Page cut =
                    pages[p].Cut(left + 1, top + 1, sheet.labelWidth - 2, sheet.labelHeight - 2);
                const char label = k.labels[p][i];
                const std::string want = label == '_' ? "" : texts[label - 'a'];
                const std::string where = k.options + ", sheet " + std::to_string(p + 1) +
                                          ", label " + std::to_string(i + 1);
                EXPECT_EQ(Decode(cut.image), want.empty() ? "not read" : want) << where;
                if (want.empty()) continue;
                const auto ink = InkBox(cut);
                EXPECT_NEAR(ink[0] + ink[2], sheet.labelWidth - 2, 2.0) << where;  // centred
                EXPECT_NEAR(ink[1] + ink[3], sheet.labelHeight - 2, 2.0) << where;
            }
        }
    }
}

// 5,000 records, every 50th not an EAN-13, on two threads: a page for each drawn one, in the
// list's order, each the label's size, every 250th read back; the same bytes from a second
// run and as PostScript the same count of pages.
TEST(SheetDocument, ABatchIntoOnePdfHasAPagePerDrawnRecord) {
    ScratchDirectory dir;
    const std::string batch =
        "SOURCE_DATE_EPOCH=1700000000 qvbarcode --batch list.txt -t ean13 "
        "-c -w -s --dpi 300 --module 4px --jobs 2 -o ";
    const ProgramRun run = RunShell(
        dir,
        "awk 'BEGIN { for (i = 1; i <= 5000; i++) print i % 50 ? sprintf(\"40063%07d\", i) "
        ": 12 }' >list.txt && " +
            batch + "one.pdf; " + batch + "again.pdf; " + batch +
            "one.ps 2>/dev/null; cmp one.pdf again.pdf && pdfinfo one.pdf && grep "
            "'^%%Pages:' one.ps");
    EXPECT_TRUE(Holds(run.err, "4900 drawn, 100 failed")) << run.err;
    EXPECT_TRUE(Holds(run.out, "Pages:           4900")) << run.out;
    EXPECT_TRUE(Holds(run.out, "%%Pages: 4900")) << run.out;
    // 95 modules of 4 dots and 10 of margins, 390 dots; 50 pixels at 96 dpi are 156 dots.
    EXPECT_TRUE(Holds(run.out, "Page size:       93.6 x 37.44 pts")) << run.out;
    EXPECT_TRUE(Holds(run.out, "CreationDate:    Tue Nov 14 22:13:20 2023 UTC")) << run.out;
    std::vector<int> sampled{1, 4900};
    for (int page = 250; page < 4900; page += 250) sampled.push_back(page);
    for (const int page : sampled) {
        const std::string n = std::to_string(page);
        RunShell(dir, "pdftoppm -r 300 -png -singlefile -f " + n + " -l " + n + " one.pdf p");
        char text[16];  // the record on the page, 49 of every 50 drawn
        std::snprintf(text, sizeof text, "40063%07d", page + (page - 1) / 49);
        const std::string read = Decode(imagefile::ReadPng(dir / "p.png"));
        EXPECT_EQ(read.substr(0, 12), text) << page;  // and its check digit
        EXPECT_EQ(read.size(), 13u) << page;
    }
}

// Captions from the columns, as many labels as Qty says (none for 0, a failed record for a
// cell that is no count), and the font embedded once for all of them.
TEST(SheetDocument, CaptionsAndCopiesComeFromTheColumns) {
    ScratchDirectory dir;
    std::ofstream(dir / "p.csv") << "EAN,Name,Price,Qty\n400638133393,Nuts,2.49,3\n"
                                    "590123412345,Tea,1.99,0\n400638133394,Figs,3.20,two\n";
    const ProgramRun run = RunShell(
        dir,
        "qvbarcode --batch p.csv --text-column EAN -t ean13 --check-digit auto -w --dpi 300 "
        "--module 4px --sheet a4:3x8:63.5x33.9mm:7.21x12.9mm:66.04x33.9mm --copies-column Qty "
        "--caption '{Name} {Price} EUR' -o s.pdf; echo status $?; pdftotext s.pdf - | grep -c "
        "'Nuts 2.49 EUR'; pdftotext s.pdf - | grep -c -e Tea -e Figs; pdffonts s.pdf | grep -c "
        "DejaVu");
    EXPECT_EQ(run.out, "status 1\n3\n0\n1\n") << run.err;
    EXPECT_TRUE(Holds(run.err, "the Qty cell 'two' is no number of copies")) << run.err;
    EXPECT_TRUE(Holds(run.err, "2 drawn, 1 failed")) << run.err;
    // One barcode alone fills a sheet and goes on to the next.
    const ProgramRun one =
        RunShell(dir,
                 "qvbarcode -t ean13 -d 400638133393 -c -w --dpi 300 --module 4px --sheet 'Avery "
                 "5160' --copies 31 --caption 'Nuts {Text}' -o one.pdf && pdfinfo one.pdf | grep "
                 "Pages; pdftotext one.pdf - | grep -c 'Nuts 400638133393'");
    EXPECT_EQ(one.out, "Pages:           2\n31\n") << one.err;
}

}  // namespace
}  // namespace qv::cli::test
