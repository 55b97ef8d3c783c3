#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "BatchRecords.h"
#include "OutputPattern.h"
#include "ProgramRun.h"

namespace qv::cli::test {
namespace {

BatchList Read(const std::string& list, std::optional<std::string> textColumn,
               BarcodeSettings defaults = {}) {
    std::istringstream input(list);
    BatchSource source;
    source.defaults = std::move(defaults);
    source.textColumn = std::move(textColumn);
    source.dotsPerInch = 300;
    return ReadBatchRecords(input, source);
}

// Lists as people and spreadsheets write them, and what each record is.
TEST(BatchRecords, ListsAndSpreadsheetCsvGiveTheirRecords) {
    struct Case {
        std::string list;
        std::optional<std::string> textColumn;
        std::string refused;  // part of the message that refuses the whole list
        // Each record as "LINE:TEXT", or "LINE!" and part of why it cannot be drawn.
        std::vector<std::string> records;
    };
    const std::string bom = "\xEF\xBB\xBF";
    // A spreadsheet's export: mark, CRLF, quoted cells with commas, doubled quotes and a line
    // break, extra columns, no line break at the end.
    const std::string spreadsheet = bom +
                                    "\"SKU\",\"Description\",\"Text\",\"Price\"\r\n"
                                    "\"A1\",\"Nuts, roasted\",\"4006\",\"4,99\"\r\n"
                                    "\"A2\",\"5\"\" \"\"long\"\"\r\nsecond line\",\"12\",\"1\"\r\n"
                                    "\"A3\",\"x\",\"34\",\"1\"";
    const std::vector<Case> cases{
        {bom + "4006381333931\r\n\nText\n", {}, "", {"1:4006381333931", "2:", "3:Text"}},
        {spreadsheet, {}, "", {"2:4006", "3:12", "5:34"}},
        {"SKU,EAN\nA1,4006381333931\n", {}, "names no property (it names SKU, EAN)", {}},
        {"sku,ean,Text\nA1,400,nope\n", "EAN", "", {"2:400"}},
        {"EAN\n400\n", "ean", "", {"2:400"}},
        {"SKU,Text\nA1,400\n", "EAN", "--text-column EAN: the first line names no such", {}},
        {"BarCodeType,SKU\ncode39,A\n", {}, "no Text column", {}},
        {"Text,ShowValue,BarWidth,BarCodeType\n1,no?\n2,1,wide\n3,,,upc\n4,1,2,3,4\n\"5,",
         {},
         "",
         {"2!'no?'", "3!'wide'", "4!'upc'", "5!5 cells", "6!not closed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        const BatchList list = Read(c.list, c.textColumn);
        EXPECT_EQ(list.error.has_value(), !c.refused.empty());
        EXPECT_NE(list.error.value_or("").find(c.refused), std::string::npos) << *list.error;
        ASSERT_EQ(list.records.size(), c.records.size());
        for (std::size_t i = 0; i < c.records.size(); ++i) {
            const BatchRecord& r = list.records[i];
            const std::string line = std::to_string(r.line);
            if (r.settings) {
                EXPECT_EQ(line + ":" + *r.settings->text, c.records[i]);
                EXPECT_EQ(r.text, *r.settings->text);
            } else {
                EXPECT_TRUE(c.records[i].starts_with(line + "!")) << c.records[i] << " " << line;
                EXPECT_NE(r.error.find(c.records[i].substr(line.size() + 1)), std::string::npos)
                    << r.error;
            }
        }
    }
}

TEST(BatchRecords, CellsOverrideTheCommandLineAndEmptyOnesKeepIt) {
    const BatchList list = Read(
        "text, BarCodeType,SHOWVALUE,BackgroundWhite,BarWidth,BarHeight,BarWidthSource,"
        "CalculateCheckDigit\n"
        "\"a,\"\"b\"\"\",code39,yes,False,37.29mm,80,0,-1\n"
        "12,,TRUE,,,,1\n",
        {}, {.barCodeType = 0, .modulePixels = 3, .backgroundWhite = kTrue});
    ASSERT_EQ(list.records.size(), 2u);
    // 37.29 mm at 300 dpi: 440 pixels; a width cell replaces the command line's module.
    const BarcodeSettings first{.text = "a,\"b\"",
                                .barCodeType = 2,
                                .barWidth = 440,
                                .barHeight = 80,
                                .showValue = kTrue,
                                .calculateCheckDigit = kTrue};
    EXPECT_EQ(list.records[0].settings, first);
    const BarcodeSettings second{.text = "12",
                                 .barCodeType = 0,
                                 .modulePixels = 3,
                                 .barWidthSource = kTrue,
                                 .backgroundWhite = kTrue,
                                 .showValue = kTrue};
    EXPECT_EQ(list.records[1].settings, second);
}

TEST(OutputPattern, NumbersAndSafeCellsNameTheFiles) {
    struct Case {
        std::string pattern;
        std::string cell;   // the SKU column's
        std::string named;  // the path, or "!" and part of the reason there is none
    };
    const std::vector<Case> cases{
        {"labels/####.png", "", "labels/0007.png"},
        {"a##-{sku}.pgm", "X 1", "a07-X 1.pgm"},
        {"{Text}/{SKU}.pdf", "A-1", "4006/A-1.pdf"},
        {"{SKU}.png", "", "!empty"},
        {"{SKU}.png", "..", "!folder"},
        {"l/{SKU}.png", "../../etc/passwd", "!'/'"},
        {"{SKU}.png", "a\nb", "!control character"},
        {"{SKU}.png", std::string(256, 'a'), "!255 bytes"},
        {"{Price}.png", "A", "!names no column"},
    };
    for (const Case& c : cases) {
        auto pattern = std::get<OutputPattern>(OutputPattern::Parse(c.pattern));
        const std::string unbound = pattern.Bind({"SKU", "Description"});
        const OutputPattern::Name name = pattern.Expand(7, "4006", {c.cell});
        const std::string why = unbound.empty() ? name.error : unbound;
        if (c.named.starts_with("!")) {
            EXPECT_NE(why.find(c.named.substr(1)), std::string::npos) << c.pattern << ": " << why;
        } else {
            EXPECT_EQ(name.path, c.named) << why;
        }
    }
}

TEST(BatchProgram, FailedRecordsAreReportedWithTheirTextAndTheRestWritten) {
    ScratchDirectory dir;
    std::ofstream(dir / "list.csv") << "SKU,Text,BarCodeType\n"
                                    << "A,400638133393,ean13\n"
                                    << "B,12A,i2of5\n"
                                    << "C,HELLO,code39\n"
                                    << "A,1234,s2of5\n";
    const ProgramRun run = RunProgram(
        dir, "--batch - -c -w --default-size -o 'labels/###-{SKU}.png' < list.csv", "LC_ALL=C");
    EXPECT_EQ(run.status, 1);
    for (const char* says :
         {"record 2 (line 3) \"12A\": 1101 Invalid Character Found", "3 drawn, 1 failed"}) {
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
    }
    EXPECT_EQ(run.err.find("\r"), std::string::npos) << "no progress bar off a terminal";
    for (const char* name : {"001-A.png", "003-C.png", "004-A.png"}) {
        EXPECT_TRUE(std::filesystem::exists(dir / "labels" / name)) << name;
    }
    // A batch draws each record as a single drawing would.
    const ProgramRun single = RunProgram(dir, "-t code39 -d HELLO -c -w --default-size -o one.png");
    ASSERT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(ReadFile(dir / "one.png"), ReadFile(dir / "labels" / "003-C.png"));
    // A name taken earlier in the batch fails the later record; the first file stays.
    const ProgramRun twice =
        RunProgram(dir, "--batch list.csv -c -w --default-size -o 'by-sku/{SKU}.png'");
    EXPECT_NE(twice.err.find("record 4 (line 5) \"1234\": by-sku/A.png is record 1's file"),
              std::string::npos)
        << twice.err;
    EXPECT_EQ(ReadFile(dir / "by-sku" / "A.png"), ReadFile(dir / "labels" / "001-A.png"));
}

// A batch ended by a signal leaves only whole pictures: no temporary, no truncated file.
TEST(BatchProgram, AnInterruptedBatchLeavesOnlyCompleteFiles) {
    ScratchDirectory dir;
    {
        std::ofstream list(dir / "list.txt");
        for (int i = 0; i < 200000; ++i) list << 400638133393 + i << "\n";
    }
    const ProgramRun run =
        RunProgram(dir, "--batch list.txt -t ean13 -c -w -o out/######.png", "timeout -s INT 1");
    EXPECT_NE(run.status, 0) << "the batch should still have been running";
    for (const auto& entry : std::filesystem::directory_iterator(dir / "out")) {
        const std::string name = entry.path().filename().string();
        EXPECT_NE(name.front(), '.') << "temporary left behind: " << name;
        const std::string bytes = ReadFile(entry.path());
        ASSERT_GT(bytes.size(), 12u) << name;
        EXPECT_EQ(bytes.substr(bytes.size() - 8, 4), "IEND") << name;
    }
}

}  // namespace
}  // namespace qv::cli::test
