// The texts that list the symbologies, in the help, the manual page, the documents, the
// program's messages and the Designer plugin, list those of the table, in its order.
#include <gtest/gtest.h>

#include <regex>

#include "ProgramRun.h"
#include "options/UsageText.h"
#include "symbology/Symbologies.h"

namespace qv::cli::test {
namespace {

using symbology::Symbology;

std::string Program(const Symbology& s) {
    return std::string(s.programName);
}
std::string Display(const Symbology& s) {
    return std::string(s.displayName);
}

// Each symbology's text, joined by separator and, before the last, by last.
std::string Listed(std::string (*text)(const Symbology&), const std::string& separator,
                   const std::string& last = "") {
    std::string listed;
    const auto all = symbology::Symbologies();
    for (std::size_t i = 0; i < all.size(); ++i) {
        listed += (i == 0                               ? ""
                   : i + 1 < all.size() || last.empty() ? separator
                                                        : last) +
                  text(all[i]);
    }
    return listed;
}

TEST(SymbologyTexts, ListTheTablesSymbologies) {
    const std::string names = Listed(Program, ", "), drawn = Listed(Display, ", ", " and ");
    std::string zones;  // what the help texts say: the zone that differs left and right
    for (const Symbology& s : symbology::Symbologies()) {
        if (s.quietZone.left != s.quietZone.right) {
            zones = Display(s) + " wants " + std::to_string(s.quietZone.left) + " and " +
                    std::to_string(s.quietZone.right);
        }
    }
    const std::pair<std::string, std::string> texts[] = {
        {"", names + ", or a whole number"},
        {"", zones},
        {"apps/qvbarcode/commands/ParseArguments.cpp", names + " or a number"},
        {"apps/qvbarcode/input/BatchRecords.cpp", names + " or a number"},
        {"apps/qvbarcode/qvbarcode.1", ".BR " + Listed(Program, " \", \" ") + " ,"},
        {"apps/qvbarcode/qvbarcode.1", "It draws " + drawn + "."},
        {"apps/qvbarcode/qvbarcode.1", zones},
        {"docs/cli.md", Listed([](const Symbology& s) { return "`" + Program(s) + "`"; }, ", ")},
        {"docs/cli.md", zones},
        {"docs/qt.md",
         Listed([](const Symbology& s) { return std::to_string(s.value) + " " + Display(s); },
                ", ")},
        {"README.md", "The control draws " + drawn + " as"},
        {"qt/designer/QvBarCodeDesignerPlugin.cpp", "Draws " + drawn + " barcodes"},
    };
    for (const auto& [path, text] : texts) {
        // The help itself for no path; the manual page's hyphens unescaped, lines joined.
        const std::string file =
            path.empty() ? std::string(HelpText()) : FileText(QV_SOURCE_DIR "/" + path);
        const std::string plain = std::regex_replace(
            std::regex_replace(file, std::regex(R"(\\-)"), "-"), std::regex(R"(\s+)"), " ");
        EXPECT_NE(plain.find(text), std::string::npos) << path << ": " << text;
    }
}

}  // namespace
}  // namespace qv::cli::test
