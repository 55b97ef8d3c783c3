#include "ProgramRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qv::cli::test {

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("qv_cli_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    fs::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

ProgramRun RunProgram(const ScratchDirectory& directory, const std::string& arguments,
                      const std::string& environment) {
    const fs::path out = directory / ".stdout";
    const fs::path err = directory / ".stderr";
    const std::string command = "cd '" + directory.path().string() + "' && " + environment +
                                " '" QV_CLI_PROGRAM "' " + arguments + " >'" + out.string() +
                                "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    fs::remove(out);
    fs::remove(err);
    return run;
}

}  // namespace qv::cli::test
