// Every example the help, the manual page and docs/cli.md show runs as written, in an empty
// folder holding the files it names: the lists a transcript shows with cat, which are
// written instead, and a plain picture for --onto. A transcript's output lines must appear,
// and its summary decides the expected status.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

#include "ProgramRun.h"
#include "imagefile/PngFile.h"

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

}  // namespace
}  // namespace qv::cli::test
