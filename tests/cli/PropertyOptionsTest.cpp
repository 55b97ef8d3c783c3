// The program's options and CSV columns for the control's properties, which the property
// table names: each sets its own property, and every text that lists them names them all.
#include <gtest/gtest.h>

#include <cctype>
#include <regex>
#include <sstream>

#include "ProgramRun.h"
#include "commands/ParseArguments.h"
#include "input/BatchRecords.h"
#include "options/UsageText.h"

namespace qv::cli::test {
namespace {

std::vector<std::string_view> OptionNames(const control::ProgramOption& option) {
    std::vector<std::string_view> names;
    for (std::string_view name : {option.shortName, option.longNames[0], option.longNames[1]}) {
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

// Every name of a Boolean's option sets that one flag; its column, in any letter case with
// blanks around, sets it for the record.
TEST(PropertyOptions, EveryFlagAndBooleanColumnSetsItsOwnProperty) {
    const BarcodeSettings given{.text = "1", .barCodeType = 3};
    for (const control::PropertyRow& row : control::kProperties) {
        const auto flag = FlagOf(row.property);
        if (flag == nullptr) continue;
        SCOPED_TRACE(row.name);
        BarcodeSettings expected = given;
        expected.*flag = kTrue;
        for (std::string_view name : OptionNames(row.option)) {
            const std::vector<std::string_view> arguments{"-t", "3",  "-d",   "1",
                                                          name, "-o", "a.png"};
            const ParseResult parsed = ParseArguments(arguments);
            ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << name;
            EXPECT_EQ(std::get<Options>(parsed).settings, expected) << name;
        }
        std::string column(row.name);
        for (char& c : column) c = static_cast<char>(std::tolower(c));
        std::istringstream list("Text, BarCodeType, " + column + " \n1,ean13,yes\n");
        const BatchList read = ReadBatchRecords(list, {});
        ASSERT_EQ(read.records.size(), 1u);
        EXPECT_EQ(read.records[0].settings, expected);
    }
}

// Whether text names word on its own, not as a part of a longer option or name.
bool Names(const std::string& text, std::string_view word) {
    return std::regex_search(text, std::regex("(^|[^-\\w])" + std::string(word) + "($|[^-\\w])"));
}

TEST(PropertyOptions, HelpManualAndGuideNameEveryOptionAndColumn) {
    const std::vector<std::pair<std::string, std::string>> texts{
        {"--help", std::string(HelpText())},
        {"qvbarcode.1", std::regex_replace(FileText(QV_SOURCE_DIR "/apps/qvbarcode/qvbarcode.1"),
                                           std::regex(R"(\\-)"), "-")},
        {"docs/cli.md", FileText(QV_SOURCE_DIR "/docs/cli.md")},
    };
    for (const control::PropertyRow& row : control::kProperties) {
        for (const auto& [source, text] : texts) {
            for (std::string_view name : OptionNames(row.option)) {
                EXPECT_TRUE(Names(text, name)) << source << " lacks " << name;
            }
            if (row.csvColumn) {
                EXPECT_TRUE(Names(text, row.name)) << source << " lacks " << row.name;
            }
        }
    }
}

}  // namespace
}  // namespace qv::cli::test
