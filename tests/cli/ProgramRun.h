#pragma once

#include <filesystem>
#include <string>

#include "ParseArguments.h"

namespace qv::cli::test {

// A scratch directory of its own for each test, removed afterwards.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs shell text in the directory with the built program first on PATH as qvbarcode; the
// environment is put before the command, e.g. "LC_ALL=C".
ProgramRun RunShell(const ScratchDirectory& directory, const std::string& command,
                    const std::string& environment = "");
// The built program with arguments given as shell text (quotes, < redirections).
ProgramRun RunProgram(const ScratchDirectory& directory, const std::string& arguments,
                      const std::string& environment = "");

std::string ReadFile(const std::filesystem::path& path);
// The program's arguments, split at spaces, parsed in-process.
ParseResult ParseCommandLine(const std::string& commandLine);
// What an independent reader finds in a PNG: the text of its one-dimensional barcode, or
// "not read".
std::string DecodePng(const std::filesystem::path& path);

}  // namespace qv::cli::test
