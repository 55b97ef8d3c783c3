// SPDX-License-Identifier: MIT
// The program run as its users run it: exit statuses, messages and files; a barcode drawn
// onto an image; PDF and EPS as a print shop gets them, rasterised at the resolution they
// were made for by poppler and Ghostscript, then read back by an independent reader.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <vector>

#include <qvbarcode/component/TypeLibraryIdl.h>
#include <qvbarcode/imagefile/PngFile.h>
#include "ProgramRun.h"
#include "ReadBack.h"

namespace qv::cli::test {
namespace {

const std::string kEan = "-t ean13 -d 400638133393 -c -w -s";

// What a file or a folder holds, names and bytes; "" when there is none.
std::string Contents(const std::filesystem::path& where) {
    std::string all = std::filesystem::is_directory(where) ? "" : FileText(where);
    std::error_code none;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(where, none))
        all += entry.path().string() + FileText(entry.path());
    return all;
}

// Every run's status and message, with text from the list or the command line escaped; a
// run leaves no temporary, and `kept` (out.png and d.pdf are "old" before each run) as it
// was unless it succeeds. A batch writes only below its pattern's fixed folder and never
// onto what it reads.
TEST(Program, StatusMessageAndFilesFollowTheOutcome) {
    struct Case {
        std::string command;
        int status;
        std::string said;  // a part of stderr, or "" for none at all
        std::string kept = "out.png";
        std::string list = "4006381333931\n";  // written to the file --batch names
    };
    const std::string ean = "qvbarcode " + kEan, bad = "qvbarcode -t ean13 -d 4006381333932 ";
    const std::string csv = "qvbarcode --batch list.csv -t code39 -o ";
    const std::string png = "qvbarcode --batch list.png -t code39 -o ", named = "N,Text\nlist,A\n";
    const std::string pdf = "qvbarcode --batch list.pdf -t ean13 -w --dpi 300 --module 3px -o ";
    std::vector<Case> cases{
        {ean + " -o out.png", 0, ""},
        {"qvbarcode -t i2of5 -d 123 -o out.png", 1,
         "1103 Invalid Expected Length Barcode Text: 3 digits given"},
        {"LC_ALL=es_MX.UTF-8 qvbarcode -t i2of5 -d 123 -o out.png", 1,
         "1103 Longitud Esperada del texto a codificar No valida: 3 digitos"},
        {ean + " --width 300 --height 0 -o out.png", 2, "height above 0"},
        {ean + " -o missing/out.png", 2, "missing/out.png"},
        {ean + " --onto nothing.png -o out.png", 2, "nothing.png"},
        // A wrong check digit fails; drawn as given, it is a warning, which changes nothing
        // but stderr. 1 is the check digit of 400638133393.
        {bad + "-o out.png", 1, "qvbarcode: the check digit of 400638133393 is 1, not 2"},
        {bad + "--no-verify -o out.png", 0,
         "warning: drawn as given; its check digit would be 1\n"},
        // Written with a quiet zone, the picture is not drawn by the control first.
        {bad + "--no-verify --quiet-zone 1 -o out.png", 0,
         "warning: drawn as given; its check digit would be 1\n"},
        // The caption is 13 pixels high: bars of 12 are covered from top to bottom.
        {ean + " --height 22 -o out.png", 0, "covers every row of the 12-pixel"},
        // The pattern's folder is a file: one message, not one per record.
        {csv + "list.csv/#.png", 2, "qvbarcode: cannot write into list.csv: it is a file",
         "out.png", "1\n2\n"},
        {csv + "l/#.png", 0, "2 drawn, 0 failed, 1 empty row skipped", "l/1.png",
         "Text\r1\r \r2\r"},
        // No type for any record: one message before the first.
        {"qvbarcode --batch list.csv -o l/#.png", 2, "list.csv: a barcode type is needed", "l",
         "1\n2\n"},
        {"qvbarcode --batch list.csv -t 7 -o l/#.png", 2, "-t 7 is no symbology's number (0 to 3)",
         "l", "1\n2\n"},
        {csv + "{N}.png", 2, "{N} names two columns", "out.png", "N,Text,N\n1,12,2\n"},
        {csv + "l/#.png", 0, "ignoring the column \\x1b[2J: it sets", "l/1.png",
         "Text,\x1B[2J\n1\n"},
        {csv + "l/#.png", 2, "(it names SKU, \\u202eevil)", "l", "SKU,\u202Eevil\n"},
        {csv + "l/#.png", 2, "list.csv: line 1 is not UTF-8 (\"\\u009b31m\\xe9\")", "l",
         "\u009b31m\xE9\n"},
        // A cell cannot name the list or the --onto picture; a link that leads out of the
        // folder fails its record, and a file reached through a link to a folder the batch
        // makes only when it writes record 1 is the file its other name took.
        {png + "{N}.png", 1, "list.png is the batch list: not overwritten", "list.png", named},
        {png + "{N}.png --onto pic.png", 1, "pic.png is the --onto picture: not overwritten",
         "pic.png", "N,Text\npic,A\n"},
        {png + "{N} --format png", 2, "so it must end in .png", "list.png", named},
        {"mkdir -p out/x outside && ln -s ../outside out/sub && " + png + "out/{D}/b.png", 1,
         "record 1 (line 2) \"A\": cannot write out/sub/b.png: a link on the way leads out of out",
         "outside", "D,Text\nsub,A\nx,B\n"},
        {"mkdir out && ln -s x out/alias && " + png + "out/{D}/b.png", 1,
         "record 2 (line 3) \"B\": out/alias/b.png is record 1's file already", "out.png",
         "D,Text\nx,A\nalias,B\n"},
        // What a document's batch refuses, and what it then leaves: the earlier one.
        {pdf + "d.pdf --sheet a4:3x8:20x10mm:7x12mm:66x33mm", 2,
         "and the label 20.0 x 10.0 mm: it does not fit", "d.pdf"},
        {pdf + "d.pdf --sheet a4:3x8:63.5x33.9mm:7x12mm:66x33mm --first 25", 2, "has 24 labels",
         "d.pdf"},
        {pdf + "d.pdf --sheet 'Nobody 1'", 2, "--sheet list", "d.pdf"},
        {pdf + "d.pdf --caption '{Price}'", 2, "--caption's Price names no column", "d.pdf"},
        {pdf + "d.pdf --copies-column Qty", 2, "--copies-column's Qty names no column", "d.pdf"},
        {pdf + "list.pdf", 2, "is the batch list: it is never written onto", "list.pdf"},
        {pdf + "d.pdf --offset 0,40mm", 2, "off its page, which is the label's size", "d.pdf"},
        // Printed without -o, the document is the spool's temporary: not a name to give.
        {"qvbarcode --batch list.csv -t ean13 --print q", 1,
         "no label to print: nothing sent to the printer", "out.png", "Text\nX\n"},
        // A document ended by a signal keeps no name and leaves no temporary: the earlier
        // one stays.
        {"seq 400638100000 400638300000 >l.txt && qvbarcode --batch l.txt -t ean13 -c -w -o d.pdf "
         "& p=$!; sleep 0.5; kill -INT $p; wait $p",
         130, "interrupted", "d.pdf"},
    };
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)  // they need descriptors
    // Short of descriptors, the font configuration would be read in part: another font.
    cases.push_back({"exec 3>&- 4>&-; ulimit -n 4; " + ean + " -o out.png", 3,
                     "cannot read the font configuration: Too many open files"});
#endif
    for (const Case& c : cases) {
        ScratchDirectory dir;
        std::ofstream(dir / "out.png") << "old";
        std::ofstream(dir / "d.pdf") << "old";
        imagefile::WritePng(surface::RasterSurface(20, 10), dir / "pic.png");  // for --onto
        std::smatch list;
        if (std::regex_search(c.command, list, std::regex("--batch (\\S+)")))
            std::ofstream(dir / list[1].str()) << c.list;
        const std::string before = Contents(dir / c.kept);
        const ProgramRun run = RunShell(dir, c.command);
        EXPECT_EQ(run.status, c.status) << c.command << "\n" << run.err;
        EXPECT_TRUE(Holds(run.err, c.said)) << c.command;
        EXPECT_EQ(c.said.empty(), run.err.empty()) << run.err;
        EXPECT_EQ(Contents(dir / c.kept) == before, c.status != 0) << c.command << ": " << c.kept;
        for (const std::string raw : {"\x1B", "\u009B", "\u202E", "\xE9"}) {
            EXPECT_EQ(run.err.find(raw), std::string::npos) << c.command;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path)) {
            EXPECT_NE(entry.path().filename().string()[0], '.') << c.command << ": a temporary";
        }
    }
    // The type library whole, not cut off by a short write; the installed sheets listed.
    ScratchDirectory dir;
    EXPECT_EQ(RunShell(dir, "qvbarcode --typelib").out, component::TypeLibraryIdl());
    const ProgramRun listed = RunShell(dir, "qvbarcode --sheet list");
    EXPECT_EQ(listed.status, 0);
    EXPECT_TRUE(Holds(listed.out, "Avery 5160\t30 labels of 66.7 x 25.4 mm on 215.9 x 279.4 mm"));
}

// A FIFO named, directly or by a link, gets the drawing or document and stays; a batch of
// a file per record refuses one; a socket is refused. Then, as root, /dev/null stays.
TEST(Program, DevicesAndFifosAreWrittenThroughNeverReplaced) {
    struct Case {
        std::string run;  // with the FIFO p made
        int status;
        std::string got;  // how what the FIFO got begins
        std::string err;  // a part of stderr
    };
    const std::string list = "printf '400638133393\\n' >list && ";
    const std::string batch = "qvbarcode --batch list -t ean13 -c ";
    const std::vector<Case> cases{
        {"qvbarcode " + kEan + " --format png -o p", 0, "\x89PNG", ""},
        {"ln -s p to && qvbarcode " + kEan + " --format png -o to", 0, "\x89PNG", ""},
        {"qvbarcode " + kEan + " --copies 2 --format pdf -o p", 0, "%PDF", ""},
        {list + batch + "--format pdf -o p", 0, "%PDF", ""},
        {list + "ln -s p 1.png && " + batch + "-o '#.png'", 1, "",
         "cannot write 1.png: it is a FIFO, and a batch writes a file a record"},
        {"python3 -c \"import socket; socket.socket(socket.AF_UNIX).bind('s')\" && qvbarcode " +
             kEan + " --format png -o s",
         2, "", "cannot write s: it is a socket, not a file"},
    };
    for (const Case& c : cases) {
        ScratchDirectory dir;
        const std::string fifo = (dir / "p").string();
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        // Read first, so that the program's open does not wait and a FIFO it replaced shows
        // as nothing read, not as a test that hangs.
        const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        fcntl(reader, F_SETPIPE_SZ, 1 << 20);  // room for a whole PDF
        const ProgramRun run = RunShell(dir, c.run);
        std::string got(1 << 20, ' ');
        got.resize(std::max<ssize_t>(read(reader, got.data(), got.size()), 0));
        close(reader);
        EXPECT_EQ(run.status, c.status) << c.run << "\n" << run.err;
        EXPECT_TRUE(Holds(run.err, c.err)) << c.run;
        EXPECT_EQ(got.substr(0, c.got.size()), c.got) << c.run;
        EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(fifo))) << c.run;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path)) {
            EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary is left";
        }
    }
    if (geteuid() != 0 || HasFailure()) return;
    ScratchDirectory dir;
    EXPECT_EQ(RunShell(dir, "qvbarcode " + kEan + " --format png -o /dev/null").status, 0);
    struct stat null {};
    if (stat("/dev/null", &null) != 0 || !S_ISCHR(null.st_mode)) {
        ADD_FAILURE() << "/dev/null was replaced; made again";
        std::filesystem::remove("/dev/null");
        mknod("/dev/null", S_IFCHR | 0666, makedev(1, 3));
    }
}

// The barcode goes onto a copy of the image at --x, --y, clipped to it, and the image keeps
// its transparency where the barcode paints nothing.
TEST(Program, OntoAnImageKeepsItsSizeAndTransparency) {
    ScratchDirectory dir;
    const surface::RasterSurface label(30, 12, surface::MakeColour(200, 220, 240));
    std::ofstream(dir / "label.png", std::ios::binary) << imagefile::EncodePng(
        label, {.dotsPerInch = 0, .alpha = std::vector<std::uint8_t>(30 * 12, 100)});
    const ProgramRun run = RunShell(
        dir, "qvbarcode " + kEan + " --default-size --onto label.png --x 4 --y 2 -o out.png");
    ASSERT_EQ(run.status, 0) << run.err;
    // 105 x 50 pixels from 4, 2 on a 30 x 12 image.
    EXPECT_TRUE(Holds(run.err, "79 of its 105 columns and 40 of its 50 rows are cut"));
    const imagefile::PngWithAlpha result = imagefile::ReadPngWithAlpha(dir / "out.png");
    ASSERT_EQ(std::pair(result.picture.width(), result.picture.height()), std::pair(30, 12));
    EXPECT_EQ(result.picture.PixelAt(0, 0), label.PixelAt(0, 0));  // left of PositionX
    EXPECT_EQ(result.alpha.at(0), 100);
    EXPECT_EQ(result.picture.PixelAt(4, 2), surface::kWhite);  // the white frame starts here
    EXPECT_EQ(result.alpha.at(2 * 30 + 4), 255);
    EXPECT_EQ(result.picture.PixelAt(9, 7), surface::kBlack);  // the first bar
}

// A drawing gives the same bytes in every process and with every --jobs. The PNG is a row of
// bars (the barcode drawn off the picture leaves it as it is) that ISA-L 2.30's fitting level
// wrote one way or another by where its stream lay in memory: about one process in twenty
// differed. Documents say SOURCE_DATE_EPOCH's date, or 1970's, never the clock's.
TEST(Program, EveryRunWritesTheSameBytes) {
    ScratchDirectory dir;
    constexpr std::uint8_t kBars[] = {0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xFF,
                                      0xFF, 0x96, 0xC0, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0x98};
    surface::RasterSurface stripe(8 * sizeof kBars, 1, surface::kWhite);
    for (std::int32_t x = 0; x < stripe.width(); ++x) {
        if (kBars[x / 8] >> (7 - x % 8) & 1) stripe.SetPixel(x, 0, surface::kBlack);
    }
    std::ofstream(dir / "stripe.png", std::ios::binary) << imagefile::EncodePng(stripe);
    const std::string epoch = "SOURCE_DATE_EPOCH=1709211909";
#ifdef __SANITIZE_ADDRESS__
    constexpr int kRuns = 1;  // its programs start ten times slower; the plain tree counts
#else
    constexpr int kRuns = 12;
#endif
    struct Case {
        std::string format;
        int runs;
        std::string arguments, environment, date;
    };
    const Case cases[]{
        {"png", 25 * kRuns, "-t code39 -d A --onto stripe.png --x 200 --y 0", "", ""},
        {"svg", 2 * kRuns, kEan, "", ""},
        {"pdf", kRuns + 1, kEan, "", "/CreationDate (19700101000000Z)"},
        {"pdf", kRuns + 1, kEan, epoch, "/CreationDate (20240229130509Z)"},
        {"eps", kRuns + 1, kEan, "", "%%CreationDate: Thu Jan  1 00:00:00 1970\n"},
        {"eps", kRuns + 1, kEan, epoch, "%%CreationDate: Thu Feb 29 13:05:09 2024\n"},
    };
    for (const Case& c : cases) {
        const std::string folder = c.format + c.environment.substr(0, 1);
        const ProgramRun run =
            RunShell(dir, "mkdir " + folder + " && seq " + std::to_string(c.runs) +
                              " | xargs -P 4 -I @ env " + c.environment + " qvbarcode " +
                              c.arguments + " -o " + folder + "/@." + c.format + " 2>/dev/null");
        ASSERT_EQ(run.status, 0) << c.arguments;
        const std::string first = FileText(dir / folder / ("1." + c.format));
        EXPECT_TRUE(Holds(first, c.date));
        for (int i = 2; i <= c.runs; ++i) {
            ASSERT_EQ(FileText(dir / folder / (std::to_string(i) + "." + c.format)), first)
                << c.format << " of run " << i << " differs from the first";
        }
    }
}

TEST(Program, PdfAndEpsPrintAtTheirSizeAndScan) {
    ScratchDirectory dir;
    std::ofstream(dir / "items.csv") << "SKU,EAN\nA-1,4006381333931\nA-2,5901234123457\n";
    const ProgramRun run = RunShell(
        dir,
        "qvbarcode --batch items.csv --text-column EAN -t ean13 -w -s --dpi 300 --width 37.29mm "
        "--height 25.93mm --quiet-zone std --bar-reduction 0.05mm -o '{SKU}.pdf' && qvbarcode -t "
        "i2of5 -d 12345678 -w -s --dpi 300 --module 0.5mm --quiet-zone std --bar-reduction 1dot "
        "-o itf.eps && qvbarcode -t ean13 -d 5901234123457 -w --dpi 203 --magnification 100% "
        "--bar-reduction 1dot -o r.png && pdftoppm -r 300 -png -singlefile A-1.pdf A-1 && "
        "pdftoppm -r 300 -png -singlefile A-2.pdf A-2 && gs -q -dSAFER -dBATCH -dNOPAUSE "
        "-dEPSCrop -r300 -sDEVICE=png16m -sOutputFile=itf.png itf.eps");
    ASSERT_EQ(run.status, 0) << run.err;
    // Said once for the batch, not for each of its records.
    const std::string missed = "33.02 mm wide, not the 37.29 mm asked";
    EXPECT_EQ(run.err.find(missed), run.err.rfind(missed)) << run.err;
    EXPECT_NE(run.err.find(missed), std::string::npos) << run.err;
    // 514 x 156 pixels at 300 dpi: 64 modules of 6, the margins and 2 x 10 modules of zone.
    EXPECT_TRUE(Holds(FileText(dir / "itf.eps"), "%%HiResBoundingBox: 0 0 123.3600 37.4400\n"));
    // 440 pixels wide leave 4-pixel modules: 390 and 11 + 7 modules of zone; 306 high. EPS
    // boxes are whole points: up to 4 more pixels. Every bar is narrower, and still scans.
    const std::tuple<std::string, std::string, int, int, int> pages[] = {
        {"A-1", "4006381333931", 462, 306, 1},
        {"A-2", "5901234123457", 462, 306, 1},
        {"itf", "12345678", 514, 156, 4},
        {"r", "5901234123457", 295, 193, 0}};
    for (const auto& [name, text, width, height, slack] : pages) {
        const surface::RasterSurface page = imagefile::ReadPng(dir / (name + ".png"));
        EXPECT_NEAR(page.width(), width, slack) << name;
        EXPECT_NEAR(page.height(), height, slack) << name;
        EXPECT_EQ(Decode(page), text) << name;
    }
    // The caption is text in the PDF, not a picture of it.
    EXPECT_TRUE(Holds(RunShell(dir, "pdftotext A-1.pdf -").out, "4006381333931"));
}

}  // namespace
}  // namespace qv::cli::test
