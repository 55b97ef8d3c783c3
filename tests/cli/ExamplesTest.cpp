// SPDX-License-Identifier: MIT
// Every example the help, the manual page and docs/cli.md show runs as written, in an empty
// folder holding the files it names: the lists a transcript shows with cat, which are
// written instead, and a plain picture for --onto. A transcript's output lines must appear,
// and its summary decides the expected status; printing goes to a print server of the
// test's own. And every text that lists the symbologies lists those of the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include <qvbarcode/imagefile/PngFile.h>
#include <qvbarcode/symbology/Symbologies.h>
#include "PrintServer.h"
#include "ProgramRun.h"
#include "commands/ParseArguments.h"
#include "options/UsageText.h"

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
        {"qvbarcode.1",
         Sessions(std::regex_replace(std::regex_replace(manual, std::regex(R"(\\-)"), "-"),
                                     std::regex(R"(\\e)"), "\\"),
                  ".SH EXAMPLES", ".nf", ".fi")},
        {"docs/cli.md", Sessions(FileText(QV_SOURCE_DIR "/docs/cli.md"), "#", "```sh", "```")},
    };
    const auto normalised = [](const std::string& text) {
        return std::regex_replace(text, std::regex(R"(\s+)"), " ");
    };
    std::optional<PrintServer> printer;  // the default queue "labels", for --print
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
                if (line.find("--print") != std::string::npos && !printer) {
                    ASSERT_EQ(printer.emplace().failure, "");
                }
                const ProgramRun run = RunShell(dir, line);
                const bool failures = std::ranges::any_of(shown, [](const std::string& s) {
                    return std::regex_search(s, std::regex(" [1-9][0-9]* failed\\b"));
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

// The worked sizes in docs/cli.md are what --explain and the magnification's note say: each
// cell of a row of the table is in what the label's command line prints at its resolution.
TEST(Examples, TheWorkedSizesAreWhatTheProgramSays) {
    const std::string guide = FileText(QV_SOURCE_DIR "/docs/cli.md");
    const std::size_t start = guide.find("### Getting the size right");
    ASSERT_NE(start, std::string::npos);
    const std::string section = guide.substr(start, guide.find("\n### ", start + 1) - start);
    const std::regex row(R"(\n\| (\d+) \|([^\n]*)\|)");
    std::vector<std::string> resolutions;
    for (std::sregex_iterator it(section.begin(), section.end(), row), end; it != end; ++it) {
        const std::string dpi = (*it)[1];
        resolutions.push_back(dpi);
        ScratchDirectory dir;
        const ProgramRun run =
            RunShell(dir, "qvbarcode -t ean13 -d 400638133393 -c -w -s --dpi " + dpi +
                              " --magnification 100% --quiet-zone std --explain -o label.png");
        const std::string said = std::regex_replace(run.out + run.err, std::regex(R"(\s+)"), " ");
        std::istringstream cells((*it)[2]);
        for (std::string cell; std::getline(cells, cell, '|');) {
            EXPECT_TRUE(Holds(said, cell.substr(1, cell.size() - 2))) << dpi << " dpi";
        }
    }
    EXPECT_EQ(resolutions, (std::vector<std::string>{"203", "300", "600"}));
}

// Every text that lists the symbologies, in the help, the manual page, the documents, the
// program's messages and the Designer plugin, lists those of the table, in its order; the
// help, the manual page and the guide name every option and every property's column.
TEST(Examples, SymbologyListsFollowTheTableAndEveryOptionIsNamed) {
    std::string names, ticked, man = ".BR", numbered, drawn, zone;
    const auto all = symbology::Symbologies();
    for (const symbology::Symbology& s : all) {
        const std::string name(s.programName), shown(s.displayName);
        const bool first = &s == &all.front();
        names += (first ? "" : ", ") + name;
        ticked += (first ? "`" : ", `") + name + "`";
        man += (first ? " " : " \", \" ") + name;
        numbered += (first ? "" : ", ") + std::to_string(s.value) + " " + shown;
        drawn += (first ? "" : &s == &all.back() ? " and " : ", ") + shown;
        if (s.quietZone.left != s.quietZone.right) {  // the one zone the texts give
            zone = shown + " wants " + std::to_string(s.quietZone.left) + " and " +
                   std::to_string(s.quietZone.right);
        }
    }
    const std::string man1 = "apps/qvbarcode/qvbarcode.1";
    const std::pair<std::string, std::string> texts[] = {
        {"", names + ", or a whole number"},
        {"", zone},
        {"apps/qvbarcode/commands/ParseArguments.cpp", names + " or a number"},
        {"apps/qvbarcode/input/BatchRecords.cpp", names + " or a number"},
        {man1, man + " ,"},
        {man1, "It draws " + drawn + "."},
        {man1, zone},
        {"docs/cli.md", ticked},
        {"docs/cli.md", zone},
        {"docs/qt.md", numbered},
        {"README.md", "The control draws " + drawn + " as"},
        {"qt/designer/QvBarCodeDesignerPlugin.cpp", "Draws " + drawn + " barcodes"},
    };
    // The help itself for no path; the manual page's hyphens unescaped, lines joined.
    const auto plain = [](const std::string& path) {
        const std::string file =
            path.empty() ? std::string(HelpText()) : FileText(QV_SOURCE_DIR "/" + path);
        return std::regex_replace(std::regex_replace(file, std::regex(R"(\\-)"), "-"),
                                  std::regex(R"(\s+)"), " ");
    };
    for (const auto& [path, text] : texts) {
        EXPECT_NE(plain(path).find(text), std::string::npos) << path << ": " << text;
    }
    // And they name every option of the command line and CSV column of a property, each on
    // its own.
    std::vector<std::string_view> words = CommandLineOptionNames();
    for (const control::PropertyRow& row : control::kProperties) {
        if (row.csvColumn) words.push_back(row.name);
    }
    for (const std::string path : {"", man1.c_str(), "docs/cli.md"}) {
        const std::string text = plain(path);
        for (std::string_view word : words) {
            const std::regex alone("(^|[^-\\w])" + std::string(word) + "($|[^-\\w])");
            EXPECT_TRUE(std::regex_search(text, alone)) << path << " lacks " << word;
        }
    }
}

}  // namespace
}  // namespace qv::cli::test
