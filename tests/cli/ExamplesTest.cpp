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

// A block of example lines: each line on its own, or a transcript of "$ " commands.
void AddBlock(const std::vector<std::string>& block, std::vector<Session>& sessions) {
    if (std::ranges::none_of(block, [](const std::string& l) { return l.starts_with("$ "); })) {
        for (const std::string& line : block) sessions.push_back({{}, {{line, {}}}});
        return;
    }
    Session session;
    bool listing = false;
    for (const std::string& line : block) {
        if (line.starts_with("$ ")) {
            session.commands.push_back({line.substr(2), {}});
            listing = line.starts_with("$ cat ");
            if (listing) session.files.emplace_back(line.substr(6), "");
        } else if (listing) {
            session.files.back().second += line + "\n";
        } else if (!session.commands.empty()) {
            session.commands.back().shown.push_back(line);
        }
    }
    sessions.push_back(std::move(session));
}

// The lines between an opening line and a closing one, block by block, after start.
std::vector<Session> Blocks(const std::string& text, const std::string& start,
                            const std::string& open, const std::string& close) {
    std::vector<Session> sessions;
    std::istringstream lines(text.substr(text.find(start)));
    std::vector<std::string> block;
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (!inside && line == open) {
            inside = true;
            block.clear();
        } else if (inside && line == close) {
            inside = false;
            AddBlock(block, sessions);
        } else if (inside) {
            block.push_back(line);
        }
    }
    return sessions;
}

// The manual's text with its escapes for -, zero width and backslash undone.
std::string Unescaped(const std::string& manual) {
    std::string text;
    for (std::size_t i = 0; i < manual.size(); ++i) {
        if (manual[i] == '\\' && i + 1 < manual.size() &&
            std::string_view("-&e").find(manual[i + 1]) != std::string_view::npos) {
            text += manual[i + 1] == '-' ? "-" : manual[i + 1] == 'e' ? "\\" : "";
            ++i;
        } else {
            text += manual[i];
        }
    }
    return text;
}

std::string Normalised(const std::string& text) {
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

TEST(Examples, EveryExampleRunsAsWritten) {
    ScratchDirectory here;
    const std::string help = RunProgram(here, "--help").out;
    const std::vector<std::pair<std::string, std::vector<Session>>> sources{
        {"--help", Blocks(help + "\n", "Examples:", "Examples:", "")},
        {"qvbarcode.1", Blocks(Unescaped(ReadFile(QV_SOURCE_DIR "/apps/cli/qvbarcode.1")),
                               ".SH EXAMPLES", ".nf", ".fi")},
        {"docs/cli.md", Blocks(ReadFile(QV_SOURCE_DIR "/docs/cli.md"), "#", "```sh", "```")},
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
