// Every example the help, the manual page and docs/cli.md show runs as written, in an empty
// folder holding the files it names: the lists a transcript shows with cat, which are
// written instead, and a plain picture for --onto. A transcript's output lines must appear,
// and its summary decides the expected status. And every text that lists the symbologies
// lists those of the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

#include "ProgramRun.h"
#include "imagefile/PngFile.h"
#include "options/UsageText.h"
#include "symbology/Symbologies.h"

namespace qv::cli::test {
namespace {

struct Command {
    std::string line;
    std::vector<std::string> shown;  // what it prints, or for "cat NAME" the file's contents
};
using Session = std::vector<Command>;

// The examples between the lines open and close after start: each line on its own, or a
// transcript of "$ " commands and what they show.
std::vector<Session> Sessions(const std::string& text, const std::string& start,
                              const std::string& open, const std::string& close) {
    std::vector<Session> sessions;
    std::istringstream lines(text.substr(text.find(start)));
    bool inside = false, transcript = false;
    for (std::string line; std::getline(lines, line);) {
        if (line == (inside ? close : open)) {
            inside = !inside;
            transcript = false;
        } else if (inside && line.starts_with("$ ")) {
            if (!transcript) sessions.emplace_back();
            transcript = true;
            sessions.back().push_back({line.substr(2), {}});
        } else if (inside && !transcript) {
            sessions.push_back({{line, {}}});
        } else if (inside) {
            sessions.back().back().shown.push_back(line);
        }
    }
    return sessions;
}

TEST(Examples, EveryExampleRunsAsWritten) {
    ScratchDirectory here;
    const std::string manual = FileText(QV_SOURCE_DIR "/apps/qvbarcode/qvbarcode.1");
    const std::vector<std::pair<std::string, std::vector<Session>>> sources{
        {"--help",
         Sessions(RunShell(here, "qvbarcode --help").out + "\n", "Examples:", "Examples:", "")},
        {"qvbarcode.1", Sessions(std::regex_replace(manual, std::regex(R"(\\-)"), "-"),
                                 ".SH EXAMPLES", ".nf", ".fi")},
        {"docs/cli.md", Sessions(FileText(QV_SOURCE_DIR "/docs/cli.md"), "#", "```sh", "```")},
    };
    const auto normalised = [](const std::string& text) {
        return std::regex_replace(text, std::regex(R"(\s+)"), " ");
    };
    for (const auto& [source, sessions] : sources) {
        EXPECT_GE(sessions.size(), 2u) << source << " shows no examples";
        for (const Session& session : sessions) {
            ScratchDirectory dir;
            for (const auto& [line, shown] : session) {
                if (line.starts_with("cat ")) {
                    std::ofstream file(dir / line.substr(4));
                    for (const std::string& part : shown) file << part << "\n";
                    continue;
                }
                std::smatch onto;
                if (std::regex_search(line, onto, std::regex(R"(--onto (\S+))"))) {
                    imagefile::WritePng(surface::RasterSurface(400, 200, surface::kWhite),
                                        dir / onto[1].str());
                }
                const ProgramRun run = RunShell(dir, line);
                const bool failures = std::ranges::any_of(shown, [](const std::string& s) {
                    return std::regex_search(s, std::regex(" [1-9][0-9]* failed$"));
                });
                EXPECT_EQ(run.status, failures ? 1 : 0) << source << ": " << line << "\n"
                                                        << run.err;
                for (const std::string& part : shown) {
                    EXPECT_TRUE(Holds(normalised(run.out + "\n" + run.err), normalised(part)))
                        << source << ": " << line;
                }
            }
        }
    }
}

// The texts that list the symbologies, in the help, the manual page, the documents, the
// program's messages and the Designer plugin, list those of the table, in its order.
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
