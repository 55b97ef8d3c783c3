#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "BatchRecords.h"
#include "OutputPattern.h"
#include "ProgramRun.h"
#include "imagefile/PngFile.h"

namespace qv::cli::test {
namespace {

std::vector<BatchRecord> Read(const std::string& text, const BarcodeSettings& defaults = {}) {
    std::istringstream input(text);
    return ReadBatchRecords(input, defaults);
}

TEST(BatchRecords, PlainLinesAreTextsWithTheCommandLineDefaults) {
    BarcodeSettings defaults;
    defaults.barCodeType = 2;
    defaults.showValue = kTrue;
    const auto records = Read("AB, C\r\n\nText\n", defaults);
    ASSERT_EQ(records.size(), 3u);  // the empty last line is no record
    EXPECT_EQ(records[0].settings->text, "AB, C");
    EXPECT_EQ(records[0].settings->showValue, kTrue);
    EXPECT_EQ(records[1].settings->text, "");  // left for the control to refuse as blank
    EXPECT_EQ(records[2].settings->text, "Text");
    EXPECT_EQ(records[2].line, 3);
}

TEST(BatchRecords, CsvCellsOverrideTheDefaultsOrFailTheirRecord) {
    BarcodeSettings defaults;
    defaults.barCodeType = 0;
    defaults.backgroundWhite = kTrue;
    const auto records = Read(
        "text, BarCodeType,SHOWVALUE,BackgroundWhite,BarWidth,BarHeight,BarWidthSource,"
        "CalculateCheckDigit\n"
        "\"a,\"\"b\"\"\",code39,yes,False,300,80,0,-1\n"
        "12,,TRUE,,,,1\n"
        "12,ean13,perhaps\n"
        "12,ean13,1,0,wide\n"
        "12,upc\n"
        "\"open,ean13\n"
        "1,2,3,4,5,6,7,8,9\n",
        defaults);
    ASSERT_EQ(records.size(), 7u);
    const BarcodeSettings& first = *records[0].settings;
    EXPECT_EQ(first.text, "a,\"b\"");
    EXPECT_EQ(first.barCodeType, 2);
    EXPECT_EQ(first.showValue, kTrue);
    EXPECT_EQ(first.backgroundWhite, kFalse);
    EXPECT_EQ(first.barWidth, 300);
    EXPECT_EQ(first.barHeight, 80);
    EXPECT_EQ(first.barWidthSource, kFalse);
    EXPECT_EQ(first.calculateCheckDigit, kTrue);
    const BarcodeSettings& second = *records[1].settings;  // empty cells keep the defaults
    EXPECT_EQ(second.barCodeType, 0);
    EXPECT_EQ(second.backgroundWhite, kTrue);
    EXPECT_EQ(second.barWidthSource, kTrue);
    EXPECT_EQ(records[1].number, 2);
    EXPECT_EQ(records[1].line, 3);
    const std::vector<std::string> says{"ShowValue 'perhaps'", "BarWidth 'wide'",
                                        "BarCodeType 'upc'", "quoted", "9 cells"};
    for (std::size_t i = 0; i < says.size(); ++i) {
        const BatchRecord& bad = records[i + 2];
        EXPECT_FALSE(bad.settings) << says[i];
        EXPECT_NE(bad.error.find(says[i]), std::string::npos) << bad.error;
    }
}

TEST(OutputPattern, RunsOfHashesBecomeThePaddedNumber) {
    EXPECT_EQ(ExpandPattern("labels/####.png", 7), "labels/0007.png");
    EXPECT_EQ(ExpandPattern("#.svg", 12), "12.svg");
    EXPECT_EQ(ExpandPattern("a##-b###.pgm", 5), "a05-b005.pgm");
    EXPECT_FALSE(HasNumberRun("labels.png"));
}

TEST(BatchProgram, BadLinesAreReportedByNumberAndTheRestWritten) {
    ScratchDirectory dir;
    std::ofstream(dir / "list.csv") << "Text,BarCodeType\n"
                                    << "400638133393,ean13\n"
                                    << "12A,i2of5\n"
                                    << "HELLO,code39\n"
                                    << "1234,s2of5\n";
    std::filesystem::create_directory(dir / "labels");
    const ProgramRun run =
        RunProgram(dir, "--batch - -c -w --default-size -o labels/###.png < list.csv", "LC_ALL=C");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("record 2 (line 3): 1101 Invalid Character Found In Barcode Text"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("3 drawn, 1 failed"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("\r"), std::string::npos) << "no progress bar off a terminal";
    for (const char* name : {"001.png", "003.png", "004.png"}) {
        EXPECT_TRUE(std::filesystem::exists(dir / "labels" / name)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "labels" / "002.png"));
    // A batch draws each record as a single drawing would.
    const ProgramRun single = RunProgram(dir, "-t code39 -d HELLO -c -w --default-size -o one.png");
    ASSERT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(ReadFile(dir / "one.png"), ReadFile(dir / "labels" / "003.png"));
}

// A batch ended by a signal leaves only whole pictures: no temporary, no truncated file.
TEST(BatchProgram, AnInterruptedBatchLeavesOnlyCompleteFiles) {
    ScratchDirectory dir;
    {
        std::ofstream list(dir / "list.txt");
        for (int i = 0; i < 200000; ++i) list << 400638133393 + i << "\n";
    }
    std::filesystem::create_directory(dir / "out");
    const ProgramRun run =
        RunProgram(dir, "--batch list.txt -t ean13 -c -w --default-size -o out/######.png",
                   "timeout -s INT 1");
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
