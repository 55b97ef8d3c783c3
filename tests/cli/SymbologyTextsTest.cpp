// The texts that list the symbologies, in the help, the manual page, the documents, the
// program's messages and the Designer plugin, list those of the table, in its order.
#include <gtest/gtest.h>

#include <regex>

#include "ProgramRun.h"
#include "options/UsageText.h"
#include "symbology/Symbologies.h"

namespace qv::cli::test {
namespace {

// Each symbology's text, joined by separator and, before the last, by last.
template <typename Text>
std::string Listed(Text text, const std::string& separator, const std::string& last) {
    std::string listed;
    const auto all = symbology::Symbologies();
    for (std::size_t i = 0; i < all.size(); ++i) {
        listed += (i == 0 ? "" : i + 1 == all.size() ? last : separator) + text(all[i]);
    }
    return listed;
}

// The text, or for a path the file's, with the manual page's escaped hyphens plain and every
// run of white space one space.
std::string Normalised(const std::string& pathOrText) {
    const std::string text = pathOrText.starts_with("usage:")
                                 ? pathOrText
                                 : FileText(std::string(QV_SOURCE_DIR) + "/" + pathOrText);
    return std::regex_replace(std::regex_replace(text, std::regex(R"(\\-)"), "-"),
                              std::regex(R"(\s+)"), " ");
}

TEST(SymbologyTexts, ListTheTablesSymbologies) {
    using symbology::Symbology;
    const auto program = [](const Symbology& s) { return std::string(s.programName); };
    const auto display = [](const Symbology& s) { return std::string(s.displayName); };
    const std::string names = Listed(program, ", ", ", ");
    const std::string drawn = Listed(display, ", ", " and ");
    std::string zones;  // the zones a help text gives: those that differ left and right
    for (const Symbology& s : symbology::Symbologies()) {
        if (s.quietZone.left != s.quietZone.right) {
            zones = display(s) + " wants " + std::to_string(s.quietZone.left) + " and " +
                    std::to_string(s.quietZone.right);
        }
    }
    const std::string help(HelpText());
    const std::pair<std::string, std::string> texts[] = {
        {help, names + ", or a whole number"},
        {help, zones},
        {"apps/qvbarcode/commands/ParseArguments.cpp", names + " or a number"},
        {"apps/qvbarcode/input/BatchRecords.cpp", names + " or a number"},
        {"apps/qvbarcode/qvbarcode.1", ".BR " + Listed(program, " \", \" ", " \", \" ") + " ,"},
        {"apps/qvbarcode/qvbarcode.1", "It draws " + drawn + "."},
        {"apps/qvbarcode/qvbarcode.1", zones},
        {"docs/cli.md", Listed([&](auto& s) { return "`" + program(s) + "`"; }, ", ", ", ")},
        {"docs/cli.md", zones},
        {"docs/qt.md",
         Listed([&](auto& s) { return std::to_string(s.value) + " " + display(s); }, ", ", ", ")},
        {"README.md", "The control draws " + drawn + " as"},
        {"qt/designer/QvBarCodeDesignerPlugin.cpp", "Draws " + drawn + " barcodes"},
    };
    for (const auto& [where, text] : texts) {
        EXPECT_NE(Normalised(where).find(text), std::string::npos)
            << where.substr(0, where.find('\n')) << ": " << text;
    }
}

}  // namespace
}  // namespace qv::cli::test
