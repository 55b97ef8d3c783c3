#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ProgramRun.h"

namespace qv::cli::test {
namespace {

// The options of "-o OUTPUT" in FORMAT, then changed as the case says.
Options Expected(std::string output, OutputFormat format, std::function<void(Options&)> change) {
    Options o;
    o.output = std::move(output);
    o.format = format;
    change(o);
    return o;
}

TEST(ParseArguments, GoodCommandLinesGiveTheirOptions) {
    struct Case {
        std::string commandLine;
        Options expected;
    };
    const std::vector<Case> cases{
        {"--type EAN13 --data=400638133393 --white -s -c --output=a.PBM",
         Expected("a.PBM", OutputFormat::Pbm,
                  [](Options& o) {
                      o.settings = {.text = "400638133393",
                                    .barCodeType = 3,
                                    .backgroundWhite = kTrue,
                                    .showValue = kTrue,
                                    .calculateCheckDigit = kTrue};
                  })},
        // 37.29 mm at 300 dpi is 440.4 pixels, 25.93 mm 306.3, 2 mm 23.6: halves to even.
        {"-t code39 -d A --x 2mm --onto in.png --y=-3 --width 37.29mm --height 25.93mm --dpi 300 "
         "-o x.png",
         Expected("x.png", OutputFormat::Png,
                  [](Options& o) {
                      o.settings = {
                          .text = "A", .barCodeType = 2, .barWidth = 440, .barHeight = 306};
                      o.onto = OntoImage{"in.png", 24, -3};
                      o.dotsPerInch = 300;
                  })},
        // 0.33 mm at 300 dpi is 3.9 pixels.
        {"-t ean13 -d 1 --dpi=300 --module 0.33mm --quiet-zone 11 -o a.pdf",
         Expected("a.pdf", OutputFormat::Pdf,
                  [](Options& o) {
                      o.settings = {.text = "1", .barCodeType = 3, .modulePixels = 4};
                      o.dotsPerInch = 300;
                      o.quietZoneModules = 11;
                  })},
        {"--batch - -t i2of5 --text-column EAN -o l/{SKU}-#.pgm",
         Expected("l/{SKU}-#.pgm", OutputFormat::Pgm,
                  [](Options& o) {
                      o.command = Command::Batch;
                      o.batchInput = "-";
                      o.settings.barCodeType = 0;
                      o.textColumn = "EAN";
                  })},
        {"-o x --help",
         Expected("", OutputFormat::Png, [](Options& o) { o.command = Command::Help; })},
    };
    for (const Case& c : cases) {
        const ParseResult result = ParseCommandLine(c.commandLine);
        ASSERT_TRUE(std::holds_alternative<Options>(result))
            << c.commandLine << ": " << std::get<UsageError>(result).message;
        EXPECT_EQ(std::get<Options>(result), c.expected) << c.commandLine;
    }
}

TEST(ParseArguments, BadCommandLinesAreUsageErrorsNamingTheProblem) {
    struct Case {
        std::string commandLine;
        std::string_view says;
    };
    const std::vector<Case> cases{
        {"", "output"},
        {"-t ean13 -d 1 -o a.png --bogus", "--bogus"},
        {"-t upc -d 1 -o a.png", "upc"},
        {"-t ean13 -d 1 --width 12furlong -o a.png", "12furlong"},
        {"-t ean13 -d 1 --height 99999999999 -o a.png", "32 bits"},
        {"-t ean13 -d 1 --dpi 0 -o a.png", "--dpi"},
        {"-t ean13 -d 1 --module 1mm --width 9 -o a.png", "--module"},
        {"-t ean13 -d 1 --quiet-zone -1 -o a.png", "--quiet-zone"},
        {"-d 1 -o a.png", "type"},
        {"-t ean13 -d 1 -o a.jpg", "a.jpg"},
        {"-t ean13 -d 1 -o -", "--format"},
        {"-t ean13 -d 1 --format svg -o a.png", "disagrees"},
        {"-t ean13 -d 1 --onto b.png -o a.pdf", "PNG, PBM or PGM"},
        {"-t ean13 -d 1 --onto b.png --quiet-zone 7 -o a.png", "--x"},
        {"-t ean13 -d 1 --x 4 -o a.png", "--onto"},
        {"-t ean13 -d 1 --text-column EAN -o a.png", "--batch"},
        {"--batch l.txt -t ean13 -o labels.png", "{COLUMN}"},
        {"--batch l.txt -t ean13 -o l/{SKU.png", "without its }"},
        {"--batch l.txt -t ean13 --format png -o -", "PATTERN"},
    };
    for (const Case& c : cases) {
        const ParseResult result = ParseCommandLine(c.commandLine);
        ASSERT_TRUE(std::holds_alternative<UsageError>(result)) << c.says;
        EXPECT_NE(std::get<UsageError>(result).message.find(c.says), std::string::npos)
            << std::get<UsageError>(result).message;
    }
}

}  // namespace
}  // namespace qv::cli::test
