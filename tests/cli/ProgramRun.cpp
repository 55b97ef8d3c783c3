#include "ProgramRun.h"

#include <ZXing/ReadBarcode.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "imagefile/PngFile.h"

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

namespace {

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace

ProgramRun RunShell(const ScratchDirectory& directory, const std::string& command,
                    const std::string& environment) {
    // Outside the directory, so that a command listing it sees only its own files.
    const fs::path out = directory.path().string() + ".stdout";
    const fs::path err = directory.path().string() + ".stderr";
    const std::string bin = fs::path(QV_CLI_PROGRAM).parent_path().string();
    const std::string shell = "cd " + ShellQuoted(directory.path()) +
                              " && PATH=" + ShellQuoted(bin) + ":\"$PATH\" " + environment +
                              " sh -c " + ShellQuoted(command) + " >" + ShellQuoted(out) + " 2>" +
                              ShellQuoted(err);
    const int raw = std::system(shell.c_str());
    ProgramRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

ProgramRun RunProgram(const ScratchDirectory& directory, const std::string& arguments,
                      const std::string& environment) {
    return RunShell(directory, "qvbarcode " + arguments, environment);
}

ParseResult ParseCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    std::istringstream split(commandLine);
    for (std::string word; split >> word;) words.push_back(word);
    return ParseArguments(std::vector<std::string_view>(words.begin(), words.end()));
}

std::string DecodePng(const fs::path& path) {
    const surface::RasterSurface picture = imagefile::ReadPng(path);
    const std::vector<std::uint8_t> pixels = picture.ContiguousPixels();
    const ZXing::ImageView image(pixels.data(), picture.width(), picture.height(),
                                 ZXing::ImageFormat::RGB, static_cast<int>(picture.RowBytes()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::LinearCodes);
    const ZXing::Result result = ZXing::ReadBarcode(image, hints);
    return result.isValid() ? result.text() : "not read";
}

}  // namespace qv::cli::test
