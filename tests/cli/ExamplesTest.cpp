// Every example the help, the manual page and docs/cli.md show runs as written, in an empty
// folder holding the files it names: the lists a transcript shows with cat, and a plain
// picture for --onto. A transcript's output lines must appear, and its summary decides
// the expected status.
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
    std::vector<std::string> shown;
};
struct Session {
    std::vector<std::pair<std::string, std::string>> files;  // name, contents
    std::vector<Command> commands;
};

// The examples between the lines open and close after start: each line on its own, or a
// transcript of "$ " commands whose "$ cat NAME" shows a file.
std::vector<Session> Sessions(const std::string& text, const std::string& start,
                              const std::string& open, const std::string& close) {
    std::vector<Session> sessions;
    std::istringstream lines(text.substr(text.find(start)));
    bool inside = false, transcript = false, listing = false;
    for (std::string line; std::getline(lines, line);) {
        if (line == (inside ? close : open)) {
            inside = !inside;
            transcript = false;
        } else if (inside && line.starts_with("$ ")) {
            if (!transcript) sessions.emplace_back();
            transcript = true;
            sessions.back().commands.push_back({line.substr(2), {}});
            listing = line.starts_with("$ cat ");
            if (listing) sessions.back().files.emplace_back(line.substr(6), "");
        } else if (inside && !transcript) {
            sessions.push_back({{}, {{line, {}}}});
        } else if (inside && listing) {
            sessions.back().files.back().second += line + "\n";
        } else if (inside) {
            sessions.back().commands.back().shown.push_back(line);
        }
    }
    return sessions;
}

std::string Normalised(const std::string& text) {
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

TEST(Examples, EveryExampleRunsAsWritten) {
    ScratchDirectory here;
    const std::string help = RunProgram(here, "--help").out;
    const std::vector<std::pair<std::string, std::vector<Session>>> sources{
        {"--help", Sessions(help + "\n", "Examples:", "Examples:", "")},
        {"qvbarcode.1", Sessions(std::regex_replace(ReadFile(QV_SOURCE_DIR "/apps/cli/qvbarcode.1"),
                                                    std::regex(R"(\\-)"), "-"),
                                 ".SH EXAMPLES", ".nf", ".fi")},
        {"docs/cli.md", Sessions(ReadFile(QV_SOURCE_DIR "/docs/cli.md"), "#", "```sh", "```")},
    };
    for (const auto& [source, sessions] : sources) {
        EXPECT_GE(sessions.size(), 2u) << source << " shows no examples";
        for (const Session& session : sessions) {
            ScratchDirectory dir;
            for (const auto& [name, contents] : session.files)
                std::ofstream(dir / name) << contents;
            for (const Command& command : session.commands) {
                const std::string line = std::regex_replace(command.line, std::regex("^ +"), "");
                std::smatch onto;
                if (std::regex_search(line, onto, std::regex(R"(--onto (\S+))"))) {
                    imagefile::WritePng(surface::RasterSurface(400, 200, surface::kWhite),
                                        dir / onto[1].str());
                }
                const ProgramRun run = RunShell(dir, line, "LC_ALL=C");
                const bool failures = std::ranges::any_of(command.shown, [](const std::string& s) {
                    return std::regex_search(s, std::regex(" [1-9][0-9]* failed$"));
                });
                EXPECT_EQ(run.status, failures ? 1 : 0) << source << ": " << line << "\n"
                                                        << run.err;
                for (const std::string& shown : command.shown) {
                    EXPECT_NE(Normalised(run.out + "\n" + run.err).find(Normalised(shown)),
                              std::string::npos)
                        << source << ": " << line << " does not show " << shown << "\n"
                        << run.err;
                }
            }
        }
    }
}

}  // namespace
}  // namespace qv::cli::test
