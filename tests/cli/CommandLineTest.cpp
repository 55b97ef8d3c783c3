// SPDX-License-Identifier: MIT
// Command lines parsed in-process, the properties' options and columns, and the sizes they
// give at a printer's resolution, with quiet zones and the caption's printed size; pictures
// compared as PGM, which holds each pixel's grey level.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <vector>

#include <qvbarcode/imagefile/NetpbmFile.h>
#include "commands/ParseArguments.h"
#include "drawing/ApplySettings.h"
#include "drawing/RenderBarcode.h"
#include "drawing/TextCheck.h"
#include "input/BatchRecords.h"

namespace qv::cli {
namespace {

// The program's arguments, split at spaces.
ParseResult Parse(const std::string& commandLine) {
    std::vector<std::string> words;
    std::istringstream split(commandLine);
    for (std::string word; split >> word;) words.push_back(word);
    return ParseArguments(std::vector<std::string_view>(words.begin(), words.end()));
}

// Each command line gives its options, or a usage error naming the problem.
TEST(ParseArguments, CommandLinesGiveTheirOptionsOrAUsageError) {
    struct Case {
        std::string commandLine;
        // How the options differ from the defaults, or a part of the message.
        std::variant<std::function<void(Options&)>, std::string> expected;
    };
    const std::vector<Case> cases{
        {"--type EAN13 --data=4006 --output=a.PBM",
         [](Options& o) {
             o.settings = {.text = "4006", .barCodeType = 3}, o.output = "a.PBM",
             o.format = OutputFormat::Pbm;
         }},
        // 37.29 mm at 300 dpi is 440.4 pixels, 25.93 mm 306.3, 2 mm 23.6: halves to even.
        {"-t code39 -d A --x 2mm --onto in.png --y=-3 --width 37.29mm --height 25.93mm --dpi 300 "
         "-o x.png",
         [](Options& o) {
             o.settings = {.text = "A", .barCodeType = 2, .barWidth = 440, .barHeight = 306},
             o.output = "x.png", o.onto = OntoImage{"in.png", 24, -3}, o.dotsPerInch = 300,
             o.asked = {true, Length{37.29, LengthUnit::Millimetre},
                        Length{25.93, LengthUnit::Millimetre}};
         }},
        // 0.33 mm at 300 dpi is 3.9 dots, 22.85 mm 269.9, and -w adds its margins to the height.
        {"-t ean13 -d 1 -w --dpi 300 --magnification 100% --quiet-zone std -v "
         "--bar-reduction 1.5mil -o x.pdf",
         [](Options& o) {
             o.settings = {.text = "1", .barCodeType = 3, .barHeight = 280, .modulePixels = 4},
             o.settings.backgroundWhite = kTrue, o.output = "x.pdf", o.format = OutputFormat::Pdf,
             o.dotsPerInch = 300, o.standardQuietZones = o.explain = true,
             o.barReduction = Length{0.0015, LengthUnit::Inch},
             o.asked = {.dotsPerInchGiven = true, .magnification = 100.0};
         }},
        {"-o x --help", [](Options& o) { o.command = Command::Help; }},
        {"--batch l.txt --jobs 3 --from 17 --separator ; --encoding ISO-8859-1 -o l/#.png",
         [](Options& o) {
             o.command = Command::Batch, o.batchInput = "l.txt", o.output = "l/#.png", o.jobs = 3,
             o.firstRecord = 17, o.separator = ';', o.encoding = ListEncoding::Latin1;
         }},
        // A word of --check-digit's is its value; anything else is an argument of its own.
        {"-t ean13 -d 1 --check-digit auto --no-verify -o a.png",
         [](Options& o) {
             o.settings = {.text = "1", .barCodeType = 3}, o.output = "a.png",
             o.settings.checkDigit = CheckDigitMode::Auto, o.settings.verifyCheckDigit = false;
         }},
        {"-t s2of5 -d 1 --check-digit=verify --check-digit -o a.png",
         [](Options& o) {
             o.settings = {.text = "1", .barCodeType = 1, .calculateCheckDigit = kTrue},
             o.output = "a.png";
         }},
        // A name without # or {} is one document when it is a PDF or PostScript one.
        {"--batch l.txt --sheet Avery_5160 --first 4 --copies 2 --offset 1mm,-2pt --outline "
         "--caption {Name} -o l.ps",
         [](Options& o) {
             o.command = Command::Batch, o.batchInput = "l.txt", o.output = "l.ps",
             o.format = OutputFormat::Ps, o.oneDocument = true;
             o.labels = {
                 "Avery_5160", 4,       2, "", {1, LengthUnit::Millimetre}, {-2, LengthUnit::Point},
                 true,         "{Name}"};
         }},
        {"--sheet list", [](Options& o) { o.command = Command::ListSheets; }},
        {"-t ean13 -d 1 --copies 3 -o a.pdf",
         [](Options& o) {
             o.settings = {.text = "1", .barCodeType = 3}, o.output = "a.pdf",
             o.format = OutputFormat::Pdf, o.oneDocument = true, o.labels.copies = 3;
         }},
        {"--batch l.txt --copies 2 -o l/#.pdf", "lays out a document"},
        {"-t ean13 -d 1 --sheet a4:1x1:9x9mm:0x0mm:0x0mm -o a.png", "lays out a document"},
        {"-t ean13 -d 1 --copies-column Qty -o a.pdf", "--batch"},
        {"-t ean13 -d 1 --format ps -o -", "PostScript"},
        {"--batch l.txt -o l/#.ps", "PostScript"},
        {"--batch l.txt --first 3 -o l.pdf", "--sheet"},
        {"--batch l.txt --copies 2 --copies-column Qty -o l.pdf", "give one"},
        {"--batch l.txt --copies 0 -o l.pdf", "--copies"},
        {"--batch l.txt --offset 1mm -o l.pdf", "DX,DY"},
        // --print takes a queue's name when one follows.
        {"-t ean13 -d 1 --print Zebra -o a.png", "PDF, EPS or PostScript"},
        {"-t ean13 -d 1 --print --format svg", "PDF, EPS or PostScript"},
        {"--batch l.txt --print -o l/#.pdf", "the batch as one document"},
        {"--batch l.txt --separator : -o l/#.png", "',', ';', tab or '|'"},
        {"--batch l.txt --encoding koi8-r -o l/#.png", "utf8, or latin1"},
        {"-t ean13 -d 1 --separator tab -o a.png", "--separator is for a --batch"},
        {"-t ean13 -d 1 --check-digit=often -o a.png", "auto or verify"},
        {"-t ean13 -d 1 --check-digit verify --no-verify -o a.png", "opposites"},
        {"-t code39 -d 1 --check-digit auto -o a.png", "Code 39 has no check digit"},
        {"--batch l.txt --jobs 0 -o l/#.png", "--jobs"},
        {"--batch l.txt --jobs two -o l/#.png", "--jobs"},
        {"--batch l.txt --from 0 -o l/#.png", "--from"},
        {"-t ean13 -d 1 --jobs 2 -o a.png", "--batch"},
        {"", "output"},
        {"-t ean13 -d 1 -o a.png --bogus", "--bogus"},
        {"-t upc -d 1 -o a.png", "upc"},
        {"-t ean13 -d 1 --width 12furlong -o a.png", "12furlong"},
        {"-t ean13 -d 1 --height 99999999999 -o a.png", "32 bits"},
        {"-t ean13 -d 1 --dpi 0 -o a.png", "--dpi"},
        {"-t ean13 -d 1 --module 1mm --width 9 -o a.png", "--module"},
        {"-t ean13 -d 1 --quiet-zone -1 -o a.png", "--quiet-zone"},
        {"-t ean13 -d 1 --onto b.png --quiet-zone std -o a.png", "--x"},
        {"-t ean13 -d 1 --magnification 79% -o a.png", "from 80% to 200%"},
        {"-t ean13 -d 1 --magnification 100 --height 9mm -o a.png", "without --width"},
        {"-t code39 -d 1 --magnification 100 -o a.png", "-t ean13"},
        {"-t ean13 -d 1 --bar-reduction 2furlong -o a.png", "1dot"},
        // Bars of one module, 2 dots, would keep 0.8 dots in a PDF; a PNG takes 1 off.
        {"-t ean13 -d 1 --dpi 300 --module 2px --bar-reduction 0.1mm -o a.pdf", "less than one"},
        {"-t ean13 -d 1 --default-size --bar-reduction 1dot -o a.png", "less than one"},
        {"--batch l.txt --explain -o l/#.png", "--explain"},
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
        const ParseResult result = Parse(c.commandLine);
        if (const auto* says = std::get_if<std::string>(&c.expected)) {
            ASSERT_TRUE(std::holds_alternative<UsageError>(result)) << c.commandLine;
            EXPECT_NE(std::get<UsageError>(result).message.find(*says), std::string::npos)
                << std::get<UsageError>(result).message;
        } else {
            Options expected;
            std::get<0>(c.expected)(expected);
            EXPECT_EQ(result, ParseResult(expected)) << c.commandLine;
        }
    }
}

// The names an option of the property table goes by.
std::vector<std::string_view> OptionNames(const control::ProgramOption& o) {
    std::vector<std::string_view> names{o.shortName, o.longNames[0], o.longNames[1]};
    std::erase(names, std::string_view());
    return names;
}

// The options and CSV columns of the control's properties, which the property table names,
// each set their own property (the texts naming them all: ExamplesTest). Each name of a
// Boolean's option sets that flag alone, and so does its column in a header
// of any letter case with blanks around.
TEST(PropertyOptions, EveryFlagAndBooleanColumnSetsItsOwnProperty) {
    for (const control::PropertyRow& row : control::kProperties) {
        const auto flag = FlagOf(row.property);
        if (flag == nullptr) continue;
        BarcodeSettings expected{.text = "1", .barCodeType = 3};
        expected.*flag = kTrue;
        for (std::string_view name : OptionNames(row.option)) {
            const ParseResult parsed = ParseArguments(
                std::vector<std::string_view>{"-t", "3", "-d", "1", name, "-o", "a.png"});
            ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << name;
            EXPECT_EQ(std::get<Options>(parsed).settings, expected) << name;
        }
        std::string column(row.name);
        for (char& c : column) c = static_cast<char>(std::tolower(c));
        std::istringstream list("Text, BarCodeType, " + column + " \n1,ean13,yes\n");
        const BatchList read = ReadBatchRecords(list, {});
        ASSERT_EQ(read.records.size(), 1u) << row.name;
        EXPECT_EQ(read.records[0].settings, expected) << row.name;
    }
}

// How each symbology's last digit is taken: added (+), drawn as given (=), or refused with
// the right digit. Check digits by the weights 3 and 1 from the right.
TEST(ParseArguments, CheckDigitsAreAddedVerifiedOrTakenAsGiven) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"-t ean13 -d 400638133393 --check-digit auto", "+"},
        {"-t ean13 -d 4006381333931 --check-digit auto", "="},
        {"-t ean13 -d 4006381333932 --check-digit auto", "is 1, not 2: --no-verify draws"},
        {"-t ean13 -d 4006381333932 --check-digit auto --no-verify", "="},
        {"-t ean13 -d 4006381333932 --no-verify", "="},
        {"-t ean13 -d 40063813339A", "="},  // the control's to refuse, and explain
        {"-t ean13 -d 400638133393 -c", "="},
        {"-t i2of5 -d 1234567 --check-digit auto", "+"},
        {"-t i2of5 -d 12345670 --check-digit auto", "="},
        {"-t i2of5 -d 12345678 --check-digit auto", "is 0, not 8"},
        {"-t i2of5 -d 12345678", "="},
        {"-t s2of5 -d 12345 --check-digit auto", "="},
        {"-t s2of5 -d 12345 --check-digit verify", "of 1234 is 8, not 5"},
    };
    for (const auto& [commandLine, outcome] : cases) {
        const Options o = std::get<Options>(Parse(commandLine + " -o a.png"));
        const TextCheck check = CheckText(o.settings, Language::English);
        const bool added = check.settings.calculateCheckDigit != o.settings.calculateCheckDigit;
        EXPECT_EQ(added, outcome == "+") << commandLine;
        EXPECT_EQ(check.refusal.empty(), outcome == "+" || outcome == "=") << commandLine;
        EXPECT_NE(check.refusal.find(outcome.size() > 1 ? outcome : ""), std::string::npos)
            << commandLine << ": " << check.refusal;
    }
}

// The options of a command line, its picture as PGM, and the picture's rows of grey levels.
Options OptionsOf(const std::string& commandLine) {
    return std::get<Options>(Parse(commandLine + " --format pgm -o -"));
}
Drawing Draw(const std::string& commandLine, const std::string& format = "pgm") {
    const Options o = std::get<Options>(Parse(commandLine + " --format " + format + " -o -"));
    return BarcodeRenderer(RenderOptionsFor(o)).Render(o.settings);
}
std::vector<std::string> Rows(const Drawing& d) {
    std::vector<std::string> rows;
    for (std::size_t y = 0, width = d.width; y < static_cast<std::size_t>(d.height); ++y)
        rows.push_back(d.bytes.substr(d.bytes.size() - (d.height - y) * width, width));
    return rows;
}

// The picture's size from lengths, modules and quiet zones, and the rows a caption changes:
// its box is as high as its line, 13 pixels at 96 dpi, 3.125 times that at 300. At 96 dpi
// the captioned picture is the control's own drawing for the properties it was given before
// there were defaults, where a row gives them, pixel for pixel; a quiet zone only adds white.
TEST(PrintedSize, LengthsModulesAndQuietZonesGiveThePicturesSize) {
    struct Case {
        std::string commandLine;
        std::int32_t width, height;
        const char* why;
        int captionRows = 13;
        std::optional<ControlSize> properties = {};
    };
    const std::vector<Case> cases{
        {"-t ean13 -d 400638133393 -c -w", 105, 50, "the control's default size at 96 dpi", 13,
         ControlSize{0, 0, kTrue}},
        {"-t ean13 -d 400638133393 -c -w --dpi 300", 295, 156, "3-pixel modules, 156.25 high", 41},
        {"-t ean13 -d 400638133393 -c -w --dpi 300 --width 37.29mm --height 25.93mm", 390, 306,
         "440 wide leaves floor(430 / 95) = 4 per module", 41},
        {"-t ean13 -d 400638133393 -c -w --dpi 300 --module 0.33mm", 390, 156, "3.9 is 4", 41},
        {"-t ean13 -d 400638133393 -c -w --module 0.1mm", 105, 50, "0.4 is at least 1"},
        {"-t ean13 -d 400638133393 -c --module 2.5 --height 0.5in", 190, 48, "2.5 is 2"},
        {"-t i2of5 -d 1234567 -c -w --module 3 --quiet-zone 10", 3 * 64 + 10 + 60, 50,
         "8 digits are 64 modules"},
        {"-t code39 -d CODE-39 -w --width 400 --height 70", 358, 70,
         "116 modules, floor(390 / 116) = 3 each", 13, ControlSize{400, 70, kFalse}},
        {"-t i2of5 -d 12345678 --height 33", 64, 33, "a pixel a module", 13,
         ControlSize{0, 33, kTrue}},
    };
    for (const Case& c : cases) {
        const Drawing d = Draw(c.commandLine), captioned = Draw(c.commandLine + " -s");
        EXPECT_EQ(std::make_pair(d.width, d.height), std::make_pair(c.width, c.height)) << c.why;
        const auto plain = Rows(d), withCaption = Rows(captioned);
        int rows = 0;
        for (std::size_t y = 0; y < plain.size(); ++y) rows += plain[y] != withCaption[y];
        EXPECT_NEAR(rows, c.captionRows, c.captionRows == 13 ? 0 : 1) << c.why;
        if (!c.properties) continue;
        control::QvBarCode reference;
        ApplySettings(OptionsOf(c.commandLine + " -s").settings, *c.properties, reference);
        ASSERT_EQ(reference.Draw().AsInt16(), 0);
        EXPECT_EQ(captioned.bytes, imagefile::EncodePgm(reference.Pic1().Image())) << c.why;
        const Drawing zoned = Draw("--quiet-zone 2 -s " + c.commandLine);
        const std::string zone((zoned.width - captioned.width) / 2, '\xff');
        std::string zonedRows;
        for (const std::string& row : withCaption) zonedRows += zone + row + zone;
        EXPECT_TRUE(zoned.bytes.ends_with(zonedRows)) << c.why;
    }
}

// The printed size is said when a unit of print or the resolution is given: each row's
// notes, joined, hold its parts in order, or there are none. 0.33 mm is 2.64 dots at 203 dpi.
TEST(PrintedSize, MissedSizesAndSmallModulesAreSaid) {
    struct Case {
        std::string commandLine;
        std::vector<std::string> parts;
        std::string format = "pgm";
    };
    const std::string ean = "-t ean13 -d 400638133393 -c -w ";
    const std::vector<Case> cases{
        {ean + "--dpi 300 --width 37.29mm --height 25.93mm",
         {"33.02 mm wide, not the 37.29 mm asked: 4 dots per module (0.339 mm) at 300 dpi; "
          "--module 5px would make it 41.06 mm"}},
        {ean + "--dpi 203 --module 0.33mm",
         {"modules of 0.375 mm, not the 0.330 mm asked (+13.7%)", "--module 2px", "0.250 mm"}},
        {ean + "--width 3in",
         {"2.083 in wide, not the 3.000 in asked", "--module 3px would make it 3.073 in"}},
        {ean + "--dpi 300 --module 0.1mm",
         {"(-15.3%)", "modules of 1 dot, 0.085 mm at 300 dpi, are under the 0.264 mm",
          "and under 2 dots", "--module 4px (0.339 mm)"}},
        {"-t code39 -d A --dpi 300 --module 2px", {"under the 0.190 mm that Code 39"}},
        {ean + "--dpi 300 --module 0.508mm", {}},
        {ean + "--width 300 --height 40", {}},  // pixels of the screen: nothing is printed
        {ean + "--dpi 600 --magnification 200%",
         {"--magnification 200% is 205.3% at 600 dpi: a module of 0.660 mm is 15.59 dots, "
          "drawn as 16 (0.677 mm); bars 1080 dots (45.72 mm) high"}},
        {ean + "--module 4 --bar-reduction 0.03mm --dpi 300",
         {"0.35 dots at 300 dpi", "whole dots off: none here"}},
        {ean + "--module 4 --bar-reduction 0.03mm --dpi 300", {}, "pdf"},
    };
    for (const Case& c : cases) {
        std::string said;
        for (const RunNote& note : Draw(c.commandLine, c.format).runNotes) said += note.text + "\n";
        std::size_t at = 0;
        for (const std::string& part : c.parts) {
            at = said.find(part, at);
            ASSERT_NE(at, std::string::npos) << c.commandLine << " lacks " << part << ":\n" << said;
        }
        EXPECT_EQ(said.empty(), c.parts.empty()) << c.commandLine << ":\n" << said;
    }
}

// A bar reduction narrows each bar by whole dots on pixels, half on each side (the left
// taking the smaller half), and exactly in SVG; the picture's size stays.
TEST(PrintedSize, BarReductionNarrowsEveryBarAndNothingElse) {
    const std::string code = "-t code39 -d A --module 4 --height 3";
    const auto bars = [](const Drawing& d) {
        std::string row = Rows(d).back(), runs;
        for (std::size_t x = 0; x < row.size(); ++x) {
            if (row[x] == '\0' && (x == 0 || row[x - 1] != '\0')) runs += std::to_string(x) + "-";
            if (row[x] == '\0' && (x + 1 == row.size() || row[x + 1] != '\0'))
                runs += std::to_string(x + 1) + " ";
        }
        return runs;
    };
    const Drawing plain = Draw(code), narrowed = Draw(code + " --bar-reduction 3dots");
    EXPECT_EQ(std::pair(narrowed.width, narrowed.height), std::pair(plain.width, plain.height));
    EXPECT_EQ(bars(plain).substr(0, 18), "0-4 12-16 20-28 32");
    EXPECT_EQ(bars(narrowed).substr(0, 18), "1-2 13-14 21-26 33");
    EXPECT_EQ(Draw(code + " --bar-reduction 0.4dot").bytes, plain.bytes);
    EXPECT_NE(Draw(code + " --bar-reduction 0.5dot", "svg")
                  .bytes.find("<rect x=\"20.25\" y=\"0\" width=\"7.5\" height=\"3\""),
              std::string::npos);
}

// A caller's surface is never resized, so --onto draws what the own surface refuses, bars
// drawn upwards from a negative height, as the control draws it on the image. (Clipped to
// the image, with its warning: the program's test.)
TEST(PrintedSize, OntoAnImageDrawsWhatTheOwnSurfaceRefuses) {
    const Options o = OptionsOf("-t code39 -d A --width 38 --height -3");
    const auto image = std::make_shared<surface::RasterSurface>(60, 20);
    const Drawing drawn =
        BarcodeRenderer({OutputFormat::Pgm, 96, 0, {{image, {}, 2, 10}}}).Render(o.settings);
    EXPECT_TRUE(drawn.warnings.empty());
    control::QvBarCode reference;
    ApplySettings(o.settings, ResolveSize(o.settings, 96), reference);
    reference.SetPositionX(2);
    reference.SetPositionY(10);
    const surface::ScopedSurfaceHandle handle(image);
    surface::SurfaceHandle hdc = handle.get();
    ASSERT_EQ(reference.Draw(hdc).AsInt16(), 0);
    EXPECT_EQ(drawn.bytes, imagefile::EncodePgm(*image));
}

}  // namespace
}  // namespace qv::cli
