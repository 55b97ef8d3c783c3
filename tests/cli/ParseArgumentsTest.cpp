#include <gtest/gtest.h>

#include <vector>

#include "ParseArguments.h"

namespace qv::cli {
namespace {

ParseResult Parse(std::vector<std::string_view> args) {
    return ParseArguments(args);
}

BarcodeSettings Settings(const char* text, std::int32_t type) {
    BarcodeSettings settings;
    if (text != nullptr) {
        settings.text = text;
    }
    settings.barCodeType = type;
    return settings;
}

Options Only(Command command) {
    Options o;
    o.command = command;
    return o;
}

Options Render(BarcodeSettings settings, std::string output, OutputFormat format) {
    Options o;
    o.settings = std::move(settings);
    o.output = std::move(output);
    o.format = format;
    return o;
}

TEST(ParseArguments, GoodCommandLinesGiveTheirOptions) {
    struct Case {
        std::vector<std::string_view> args;
        Options expected;
    };
    const BarcodeSettings ean = Settings("400638133393", 3);
    BarcodeSettings eanAll = ean;
    eanAll.backgroundWhite = eanAll.showValue = eanAll.calculateCheckDigit = kTrue;
    BarcodeSettings sized = Settings("12", 9);
    sized.barWidth = 300;
    sized.barHeight = -4;
    sized.barWidthSource = kTrue;
    Options onto = Render(Settings("A", 2), "x.png", OutputFormat::Png);
    onto.onto = OntoImage{"in.png", 10, -3};
    Options batch = Render(Settings(nullptr, 0), "l/####.pgm", OutputFormat::Pgm);
    batch.command = Command::Batch;
    batch.batchInput = "-";

    const std::vector<Case> cases{
        {{"-t", "ean13", "-d", "400638133393", "-o", "a.png"},
         Render(ean, "a.png", OutputFormat::Png)},
        {{"--type", "EAN13", "--data", "400638133393", "--white", "--show-value", "--check-digit",
          "-o", "a.svg"},
         Render(eanAll, "a.svg", OutputFormat::Svg)},
        {{"-t", "3", "-d", "400638133393", "-w", "-s", "-c", "--output=a.PBM"},
         Render(eanAll, "a.PBM", OutputFormat::Pbm)},
        {{"-t", "9", "--text", "12", "--width", "300", "--height=-4", "--default-size", "--format",
          "pgm", "-o", "-"},
         Render(sized, "-", OutputFormat::Pgm)},
        {{"-t", "code39", "-d", "A", "--onto", "in.png", "--x", "10", "--y", "-3", "-o", "x.png"},
         onto},
        {{"--batch", "-", "-t", "i2of5", "-o", "l/####.pgm"}, batch},
        {{"-o", "x", "--help"}, Only(Command::Help)},
        {{"--version"}, Only(Command::Version)},
    };
    for (const Case& c : cases) {
        const ParseResult result = Parse(c.args);
        ASSERT_TRUE(std::holds_alternative<Options>(result))
            << c.args.front() << ": " << std::get<UsageError>(result).message;
        EXPECT_EQ(std::get<Options>(result), c.expected) << c.args.front();
    }
}

TEST(ParseArguments, BadCommandLinesAreUsageErrorsNamingTheProblem) {
    struct Case {
        std::vector<std::string_view> args;
        std::string_view says;
    };
    const std::vector<Case> cases{
        {{}, "output"},
        {{"-t", "ean13", "-d", "1", "-o", "a.png", "--bogus"}, "--bogus"},
        {{"-t", "ean13", "-d", "1", "-o", "a.png", "stray"}, "stray"},
        {{"-t", "upc", "-d", "1", "-o", "a.png"}, "upc"},
        {{"-t", "ean13", "-d", "1", "--width", "12px", "-o", "a.png"}, "12px"},
        {{"-t", "ean13", "-d", "1", "--height", "99999999999", "-o", "a.png"}, "99999999999"},
        {{"-t", "ean13", "-d", "1", "-o"}, "-o needs a value"},
        {{"-d", "1", "-o", "a.png"}, "type"},
        {{"-t", "ean13", "-o", "a.png"}, "text"},
        {{"-t", "ean13", "-d", "1", "-o", "a.jpg"}, "a.jpg"},
        {{"-t", "ean13", "-d", "1", "-o", "-"}, "--format"},
        {{"-t", "ean13", "-d", "1", "--format", "gif", "-o", "-"}, "gif"},
        {{"-t", "ean13", "-d", "1", "--format", "svg", "-o", "a.png"}, "disagrees"},
        {{"-t", "ean13", "-d", "1", "--onto", "b.png", "-o", "a.svg"}, "SVG"},
        {{"-t", "ean13", "-d", "1", "--x", "4", "-o", "a.png"}, "--onto"},
        {{"-t", "ean13", "-d", "1", "--show-value=yes", "-o", "a.png"}, "no value"},
        {{"--batch", "list.txt", "-t", "ean13", "-o", "labels.png"}, "#"},
        {{"--batch", "list.txt", "-t", "ean13", "--format", "png", "-o", "-"}, "PATTERN"},
    };
    for (const Case& c : cases) {
        const ParseResult result = Parse(c.args);
        ASSERT_TRUE(std::holds_alternative<UsageError>(result)) << c.says;
        EXPECT_NE(std::get<UsageError>(result).message.find(c.says), std::string::npos)
            << std::get<UsageError>(result).message;
    }
}

}  // namespace
}  // namespace qv::cli
