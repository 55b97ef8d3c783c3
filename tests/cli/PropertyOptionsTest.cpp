// The options and CSV columns of the control's properties, which the property table names:
// each sets its own property, and every text that lists them names them all.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "ProgramRun.h"
#include "commands/ParseArguments.h"
#include "input/BatchRecords.h"
#include "options/UsageText.h"

namespace qv::cli::test {
namespace {

std::vector<std::string_view> OptionNames(const control::ProgramOption& o) {
    std::vector<std::string_view> names{o.shortName, o.longNames[0], o.longNames[1]};
    std::erase(names, std::string_view());
    return names;
}

// Each name of a Boolean's option sets that flag alone, and so does its column in a header
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

TEST(PropertyOptions, HelpManualAndGuideNameEveryOptionAndColumn) {
    const std::pair<const char*, std::string> texts[] = {
        {"--help", std::string(HelpText())},
        {"qvbarcode.1", std::regex_replace(FileText(QV_SOURCE_DIR "/apps/qvbarcode/qvbarcode.1"),
                                           std::regex(R"(\\-)"), "-")},
        {"docs/cli.md", FileText(QV_SOURCE_DIR "/docs/cli.md")},
    };
    for (const control::PropertyRow& row : control::kProperties) {
        std::vector<std::string_view> words = OptionNames(row.option);
        if (row.csvColumn) words.push_back(row.name);
        for (const auto& [source, text] : texts) {
            for (std::string_view word : words) {
                // The word on its own, not a part of a longer option or name.
                const std::regex alone("(^|[^-\\w])" + std::string(word) + "($|[^-\\w])");
                EXPECT_TRUE(std::regex_search(text, alone)) << source << " lacks " << word;
            }
        }
    }
}

}  // namespace
}  // namespace qv::cli::test
