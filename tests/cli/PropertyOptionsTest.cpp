// SPDX-License-Identifier: MIT
// The options and CSV columns of the control's properties, which the property table names,
// each set their own property. (The texts naming them all: ExamplesTest.)
#include <gtest/gtest.h>

#include <sstream>

#include "ProgramRun.h"
#include "commands/ParseArguments.h"
#include "input/BatchRecords.h"

namespace qv::cli::test {
namespace {

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

}  // namespace
}  // namespace qv::cli::test
