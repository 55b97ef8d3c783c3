// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/FileText.h"

namespace qv::cli::test {

using testing::FileText;

// A scratch directory of its own for each test, removed afterwards.
struct ScratchDirectory {
    ScratchDirectory() { std::filesystem::create_directories(path); }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return path / name; }

    inline static std::atomic<int> counter{0};
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("qv_cli_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
};

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs shell text in the directory with the built program first on PATH as qvbarcode, in
// the C locale unless the command sets another. The script and what it prints are kept
// beside the directory, so that a command listing it sees only its own files.
inline ProgramRun RunShell(const ScratchDirectory& dir, const std::string& command) {
    const std::string base = dir.path.string();
    std::ofstream(base + ".sh") << command << "\n";
    const std::string bin = std::filesystem::path(QV_CLI_PROGRAM).parent_path();
    const std::string shell = "cd '" + base + "' && PATH='" + bin + "':\"$PATH\" LC_ALL=C sh '" +
                              base + ".sh' >'" + base + ".out' 2>'" + base + ".err'";
    const int raw = std::system(shell.c_str());
    ProgramRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, FileText(base + ".out"),
                   FileText(base + ".err")};
    for (const char* end : {".sh", ".out", ".err"}) std::filesystem::remove(base + end);
    return run;
}

// Whether text holds part; a failure shows the whole text.
inline ::testing::AssertionResult Holds(const std::string& text, const std::string& part) {
    if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no \"" << part << "\" in:\n" << text;
}

}  // namespace qv::cli::test
