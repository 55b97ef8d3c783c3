#pragma once

#include <filesystem>
#include <string>

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

// Runs the built program through the shell in the directory. The arguments are shell text
// (quotes, < redirections); the environment is put before the program, e.g. "LC_ALL=C".
ProgramRun RunProgram(const ScratchDirectory& directory, const std::string& arguments,
                      const std::string& environment = "");

std::string ReadFile(const std::filesystem::path& path);

}  // namespace qv::cli::test
