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
#include <vector>

#include <qvbarcode/component/TypeLibraryIdl.h>
#include <qvbarcode/imagefile/PngFile.h>
#include "DecodeBarcode.h"
#include "ProgramRun.h"

namespace qv::cli::test {
namespace {

const std::string kEan = "-t ean13 -d 400638133393 -c -w -s";

TEST(Program, StatusMessageAndFileFollowTheOutcome) {
    struct Case {
        std::string arguments;
        int status;
        std::string err;  // a part of stderr
        std::string output = "out.png";
        std::string environment = "";
    };
    const std::vector<Case> cases{
        {kEan, 0, ""},
        {"-t i2of5 -d 123", 1, "1103 Invalid Expected Length Barcode Text: 3 digits given"},
        {"-t i2of5 -d 123", 1, "1103 Longitud Esperada del texto a codificar No valida: 3 digitos",
         "out.png", "LC_ALL=es_MX.UTF-8"},
        {kEan + " --width 300 --height 0", 2, "height above 0"},
        {kEan, 2, "missing/out.png", "missing/out.png"},
        {kEan + " --onto nothing.png", 2, "nothing.png"},
        // A wrong check digit fails; drawn as given, it is a warning, which changes nothing
        // but stderr. 1 is the check digit of 400638133393.
        {"-t ean13 -d 4006381333932", 1, "qvbarcode: the check digit of 400638133393 is 1, not 2"},
        {"-t ean13 -d 4006381333932 --no-verify", 0,
         "warning: drawn as given; its check digit would be 1\n"},
        // Written with a quiet zone, the picture is not drawn by the control first.
        {"-t ean13 -d 4006381333932 --no-verify --quiet-zone 1", 0,
         "warning: drawn as given; its check digit would be 1\n"},
        // The caption is 13 pixels high: bars of 12 are covered from top to bottom.
        {kEan + " --height 22", 0, "covers every row of the 12-pixel"},
    };
    for (const Case& c : cases) {
        ScratchDirectory dir;
        // A failure must leave an existing file exactly as it was.
        std::ofstream(dir / "out.png") << "old";
        const ProgramRun run =
            RunShell(dir, c.environment + " qvbarcode " + c.arguments + " -o " + c.output);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_EQ(c.err.empty(), run.err.empty()) << run.err;
        EXPECT_EQ(FileText(dir / "out.png") != "old", c.status == 0) << c.arguments;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1)
            << c.arguments << ": a temporary file was left behind";
    }
    // The type library whole, not cut off by a short write.
    ScratchDirectory dir;
    EXPECT_EQ(RunShell(dir, "qvbarcode --typelib").out, component::TypeLibraryIdl());
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
