// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <ranges>
#include <sstream>

#include "ProgramRun.h"
#include "input/BatchRecords.h"
#include "options/TerminalText.h"
#include "output/OutputPattern.h"

namespace qv::cli::test {
namespace {

namespace fs = std::filesystem;

BatchList Read(const std::string& list, std::optional<std::string> textColumn,
               BarcodeSettings defaults = {}, char separator = 0,
               ListEncoding encoding = ListEncoding::Utf8) {
    std::istringstream input(list);
    return ReadBatchRecords(input,
                            {std::move(defaults), std::move(textColumn), 300, separator, encoding});
}

// Lists as people and spreadsheets write them, and what each record is.
TEST(BatchRecords, ListsAndSpreadsheetCsvGiveTheirRecords) {
    struct Case {
        std::string list;
        // Each record, |-separated: "LINE:TEXT", "LINE!" and part of why it cannot be drawn,
        // or "LINE-" for a row of empty cells, skipped.
        std::string records;
        std::string refused = "";  // part of the message that refuses the whole list (or its rest)
        std::optional<std::string> textColumn = {};
        char separator = 0;
        ListEncoding encoding = ListEncoding::Utf8;
    };
    const std::string bom = "\xEF\xBB\xBF", cut = "\357\2734006";  // a mark's first two bytes
    // A spreadsheet's export: mark, CRLF, quoted cells with commas, doubled quotes and a line
    // break, extra columns, no line break at the end.
    const std::string spreadsheet = bom +
                                    "\"SKU\",\"Description\",\"Text\",\"Price\"\r\n"
                                    "\"A1\",\"Nuts, roasted\",\"4006\",\"4,99\"\r\n"
                                    "\"A2\",\"5\"\" \"\"long\"\"\r\nsecond line\",\"12\",\"1\"\r\n"
                                    "\"A3\",\"x\",\"34\",\"1\"";
    const auto latin1 = ListEncoding::Latin1;
    const std::vector<Case> cases{
        {bom + "4006381333931\r\n \nText\n", "1:4006381333931|2-|3:Text"},
        // Only a whole mark is skipped: the start of one is the text's, which is no UTF-8,
        // unless read as Windows-1252.
        {cut + "\n", "", "line 1 is not UTF-8 (\"" + cut + "\")"},
        {cut + "\n", "1:\u00EF\u00BB4006", "", {}, 0, latin1},
        // Semicolons and tabs as locales export them, found from the header or given;
        // Windows-1252 text (a name; a cell the header names) read as such. Rows of empty
        // cells are skipped; a list read as UTF-8 stops at a line that is not.
        {"SKU;\"Name\";\"EAN\"\r\nK-1;\"a;\"\"b\"\"\";400\r\n;;\r\n\"\";\" \";\r\n", "2:400|3-|4-",
         "", "EAN"},
        {"SKU\tEAN\tText\nK-1\t400\t1,5\n", "2:400", "", "ean"},
        {"SKU,N;EAN\nK,1;400\n", "2:400", "", "EAN", ';'},
        {"Text;Caf\xE9\n1;\xE9\n\"2\x80\"\n", "2:1|3:2\u20AC", "", {}, 0, latin1},
        {"Text\n1\n2\xE9\n3\n", "2:1", "line 3 is not UTF-8 (\"2\xE9\")"},
        {spreadsheet, "2:4006|3:12|5:34"},
        {"SKU,EAN\nA1,4006381333931\n", "", "names no property (it names SKU, EAN)"},
        {"sku,ean,Text\nA1,400,nope\n", "2:400", "", "EAN"},
        {"EAN\n400\n", "2:400", "", "ean"},
        {"SKU,Text\nA1,400\n", "", "--text-column EAN: the first line names no such", "EAN"},
        {"BarCodeType,SKU\ncode39,A\n", "", "no Text column"},
        {"Text,ShowValue,BarWidth,BarCodeType\n1,no?\n2,1,wide\n3,,,upc\n4,1,2,3,4\n\"5,",
         "2!'no?'|3!'wide'|4!'upc'|5!5 cells|6!not closed"},
        // Old exports end lines in a CR alone; in a quoted cell it is data.
        {"Text\r1\r\"2\r3\"\r\n4", "2:1|3:2\r3|5:4"},
        // A column the run reads, named twice; unread ones may repeat.
        {"Text,SKU, text\n1,a,2\n", "", "names the column Text twice"},
        {"EAN,Text,ean\n1,2,3\n", "", "names the column EAN twice", "EAN"},
        {"Text,N,N\n1,a,b\n", "2:1"},
        // A record over 1 MB fails alone; the next one is read.
        {"Text\n1\n\"" + std::string(3 << 19, 'x') + "\n\"\n2\n", "2:1|3!longer than 1 MB|5:2"},
        // Its start, cut inside a character, is not taken for text that is no UTF-8.
        {"Text\n\"" + std::string(78, 'x') + "\u00e9" + std::string(1 << 20, 'x') + "\"\n2\n",
         "2!longer than 1 MB|3:2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list.substr(0, 80));
        const BatchList list = Read(c.list, c.textColumn, {}, c.separator, c.encoding);
        EXPECT_NE(list.error.value_or("").find(c.refused), std::string::npos) << *list.error;
        EXPECT_EQ(list.error.has_value(), !c.refused.empty());
        std::vector<std::string> wanted;
        std::istringstream split(c.records);
        for (std::string record; std::getline(split, record, '|');) wanted.push_back(record);
        ASSERT_EQ(list.records.size(), wanted.size());
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            const BatchRecord& r = list.records[i];
            EXPECT_EQ(r.text, r.settings ? *r.settings->text : r.text);
            const std::size_t reason = wanted[i].find('!');
            EXPECT_EQ(std::to_string(r.line) + (r.settings ? ":" + *r.settings->text
                                                : r.empty  ? "-"
                                                           : "!"),
                      wanted[i].substr(0, reason == std::string::npos ? reason : reason + 1));
            EXPECT_TRUE(
                Holds(r.error, reason == std::string::npos ? "" : wanted[i].substr(reason + 1)));
        }
    }
}

// An unclosed quote makes the rest of the list one record, read in no more time than the
// same bytes quoted properly (under a second: 0.06 s, 0.5 s with sanitizers).
TEST(BatchRecords, AnUnclosedQuoteCostsNoMoreThanItsBytes) {
    std::string rest;
    for (int i = 1; i <= 200'000; ++i) rest += "A-" + std::to_string(i) + ",400638133393\n";
    std::vector<std::chrono::steady_clock::duration> took;
    for (const std::string quoted : {"\"12 inch ruler,", "\"12 inch ruler\","}) {
        const auto start = std::chrono::steady_clock::now();
        const BatchList read = Read("SKU,Text\nA-0," + quoted + "400638133393\n" + rest, {});
        took.push_back(std::chrono::steady_clock::now() - start);
        EXPECT_EQ(read.records.size(), took.size() == 1 ? 1u : 200'001u);
    }
    // Reading again for every line took hours here; a loaded machine only blurs the ratio.
    EXPECT_LT(took[0], 3 * took[1]);
}

TEST(BatchRecords, CellsOverrideTheCommandLineAndEmptyOnesKeepIt) {
    const BatchList list = Read(
        "text, BarCodeType,SHOWVALUE,BackgroundWhite,BarWidth,BarHeight\n"
        "\"a,\"\"b\"\"\",code39,yes,False,37.29mm,80\n12,,TRUE,,,\n",
        {}, {.barCodeType = 0, .modulePixels = 3, .backgroundWhite = kTrue});
    // 37.29 mm at 300 dpi: 440 pixels; a width cell replaces the command line's module.
    // {text, type, width, height, module, width source, white frame, caption}
    ASSERT_EQ(list.records.size(), 2u);
    EXPECT_EQ(list.records[0].settings,
              (BarcodeSettings{"a,\"b\"", 2, 440, 80, {}, kFalse, kFalse, kTrue}));
    EXPECT_EQ(list.records[1].settings,
              (BarcodeSettings{"12", 0, {}, {}, 3, kFalse, kTrue, kTrue}));
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
        {"{SKU}.png", ".", "!folder"},
        {"{SKU}.png", "..", "!folder"},
        {"l/{SKU}.png", "../../etc/passwd", "!'/'"},
        {"{SKU}.png", "a\nb", "!control character"},
        {"{SKU}.png", std::string(256, 'a'), "!255 bytes"},
        {"{Price}.png", "A", "!names no column"},
        {"{n}.png", "A", "!names two columns"},
        {"{SKU}.png", "Caf\xC3\xA9 \xF0\x9D\x84\x9E", "Caf\xC3\xA9 \xF0\x9D\x84\x9E.png"},
        {"{SKU}.png", "a\xC2\x85", "!control character"},
        {"{SKU}.png", "\u202Egnp.exe", "!bidirectional"},
        {"{SKU}.png", "\uFEFFA", "!byte-order mark"},
        {"{SKU}.png", "caf\xE9", "!not valid UTF-8"},
    };
    for (const Case& c : cases) {
        auto pattern = std::get<OutputPattern>(OutputPattern::Parse(c.pattern));
        const std::string unbound = pattern.Bind({"SKU", "Description", "N", "n "});
        const OutputPattern::Name name = pattern.Expand(7, "4006", {c.cell});
        const std::string why = unbound.empty() ? name.error : unbound;
        if (c.named.starts_with("!")) {
            EXPECT_NE(why.find(c.named.substr(1)), std::string::npos) << c.pattern << ": " << why;
        } else {
            EXPECT_EQ(name.path, c.named) << why;
        }
    }
}

// Text from input reaches the terminal with nothing that moves, clears or reorders it.
TEST(TerminalText, EscapesControlsBidiAndInvalidUtf8) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"Caf\xC3\xA9 \xF0\x9D\x84\x9E", "Caf\xC3\xA9 \xF0\x9D\x84\x9E"},
        {"\x1B[2J\t\x7F", "\\x1b[2J\\x09\\x7f"},
        {"\u009b1m\u0085", "\\u009b1m\\u0085"},
        {"\u202A\u202Ea\u2066\u2069", "\\u202a\\u202ea\\u2066\\u2069"},
        // A stray byte, an overlong '/', a surrogate, a sequence cut short.
        {"\xE9t\xC0\xAF\xED\xA0\x80\xE2\x80", "\\xe9t\\xc0\\xaf\\xed\\xa0\\x80\\xe2\\x80"},
    };
    for (const auto& [text, shown] : cases) EXPECT_EQ(TerminalText(text), shown);
}

// However many threads draw, a batch writes the same files, each what a single drawing
// writes, and says the same things in record order: warnings, failing records, names taken
// twice (instead of overwriting the file) and the summary. Record 151 repeats record 1's
// name, which is then taken; record 153 repeats that of record 3, which failed, so it is
// written.
TEST(BatchProgram, EveryNumberOfJobsWritesTheSameFilesAndMessages) {
    ScratchDirectory dir;
    const std::string list =
        "awk 'BEGIN { print \"SKU,Text,BarCodeType\"; for (i = 1; i <= 200; i++) printf "
        "\"S%d,%s,%s\\n\", i % 150, i % 7 == 3 ? \"12A\" : i % 11 == 0 ? \"A*B\" : \"R\" i, "
        "i % 7 == 3 ? \"ean13\" : \"code39\" }' >list.csv";
    ASSERT_EQ(RunShell(dir, list + " && qvbarcode -t code39 -d R2 -w -s -o r2.png").status, 0);
    std::vector<std::pair<ProgramRun, std::vector<std::string>>> runs;
    for (const std::string jobs : {"--jobs 1", "--jobs 3", ""}) {
        const std::string folder = jobs.empty() ? "cores" : jobs.substr(7);
        // Documents and pictures without a caption first, their messages left out.
        const std::string batch = "qvbarcode --batch ../list.csv " + jobs;
        const ProgramRun run = RunShell(dir, "mkdir " + folder + " && cd " + folder + " && " +
                                                 batch + " -s -o 'l/{SKU}.pdf' " + "2>/dev/null; " +
                                                 batch + " -o 'l/{SKU}-bars.png' 2>/dev/null; " +
                                                 batch + " -w -s -o 'l/{SKU}.png'");
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir / folder / "l")) {
            files.push_back(entry.path().filename().string() + FileText(entry.path()));
        }
        std::ranges::sort(files);
        runs.emplace_back(run, files);
    }
    const auto& [first, files] = runs.front();
    EXPECT_EQ(first.status, 1);
    // 22 of records 1 to 150 fail and 7 of 151 to 200; 7 of these take a failed one's name.
    EXPECT_EQ(files.size(), 3 * 135u);
    EXPECT_TRUE(Holds(first.err, "record 151 (line 152) \"R151\": l/S1.png is record 1's file"));
    EXPECT_TRUE(Holds(first.err, "record 11 (line 12) \"A*B\": warning: a '*' in a Code 39"));
    EXPECT_TRUE(Holds(first.err, "qvbarcode: 135 drawn, 65 failed\n"));
    EXPECT_EQ(FileText(dir / "r2.png"), FileText(dir / "1/l/S2.png"));
    for (const auto& [run, same] : runs) {
        EXPECT_EQ(run.status, first.status);
        EXPECT_EQ(run.err, first.err);
        EXPECT_TRUE(same == files);
    }
}

}  // namespace
}  // namespace qv::cli::test
