// SPDX-License-Identifier: MIT
// Faults on the way out: a failure that every later record would meet too stops the batch
// with one message, leaves only whole files, and --from completes the set.
#include <gtest/gtest.h>
#include <unistd.h>

#include <iterator>
#include <mutex>
#include <regex>
#include <sstream>

#include "ProgramRun.h"
#include "commands/Commands.h"
#include "commands/ParseArguments.h"

namespace qv::cli::test {
namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 100;
const std::string kDraw = " -t ean13 -c -w -s -o ";

// The list of kRecords EAN-13 texts, and the batch of it written whole into dir/whole.
void WriteListAndWholeBatch(const ScratchDirectory& dir) {
    const std::string list = "seq 400638133390 " + std::to_string(400638133389 + kRecords);
    const std::string batch = " >list.txt && qvbarcode --batch list.txt" + kDraw;
    ASSERT_EQ(RunShell(dir, list + batch + "whole/###.png").status, 0);
}

// Whether every file in the folder is the whole batch's file of that name (a temporary is
// none of them); how many there are.
int FilesOfTheWholeBatch(const ScratchDirectory& dir, const std::string& folder) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir / folder)) {
        ++files;
        EXPECT_EQ(FileText(entry.path()), FileText(dir / "whole" / entry.path().filename()))
            << entry.path();
    }
    return files;
}

// The stopped batch's message, one before the summary, naming the first record not written;
// its files whole. The record to resume from.
std::int64_t CheckStopped(const ScratchDirectory& dir, const ProgramRun& run,
                          const std::string& folder, const std::string& reason) {
    EXPECT_EQ(run.status, 2) << run.err;
    FilesOfTheWholeBatch(dir, folder);
    std::smatch stop;
    const std::string pattern = "^qvbarcode: stopped at record (\\d+) .*: " + reason +
                                "; every later record would fail too. Resume with --from (\\d+)"
                                "\nqvbarcode: (\\d+) drawn, 0 failed\n$";
    if (!std::regex_match(run.err, stop, std::regex(pattern)) || stop[1] != stop[2] ||
        std::stoll(stop[3]) != std::stoll(stop[1]) - 1) {
        ADD_FAILURE() << "not one stop message for " << reason << ":\n" << run.err;
        return 0;
    }
    return std::stoll(stop[1]);
}

// A disk that fills up after some 40 files, every number of threads: what is on disk and
// what the resumed batch adds are the uninterrupted batch's files.
TEST(BatchFaults, AFullDiskStopsTheBatchAndFromResumesIt) {
    ScratchDirectory dir;
    WriteListAndWholeBatch(dir);
    const std::size_t fileSize = fs::file_size(dir / "whole/001.png");
    for (const std::string jobs : {"1", "3"}) {
        fs::create_directory(dir / ("j" + jobs));  // the stand-in makes no folders
        std::mutex mutex;
        std::size_t room = 40 * fileSize;
        const FileWriter fillingDisk = [&](const std::string& path, std::string_view bytes) {
            std::unique_lock lock(mutex);
            if (bytes.size() > room) {
                const auto full = std::make_error_code(std::errc::no_space_on_device);
                return std::optional(FileFailure{path + ": " + full.message(), full});
            }
            room -= bytes.size();
            lock.unlock();
            return WriteOutput(path, bytes);
        };
        const auto run = [&](const std::string& more, const FileWriter& write) {
            std::istringstream line("--batch " + (dir / "list.txt").string() + " --jobs " + jobs +
                                    kDraw + (dir / ("j" + jobs) / "###.png").string() + more);
            const std::vector<std::string> words{std::istream_iterator<std::string>(line), {}};
            const std::vector<std::string_view> arguments(words.begin(), words.end());
            ::testing::internal::CaptureStderr();
            const int status = RunBatch(std::get<Options>(ParseArguments(arguments)), write);
            return ProgramRun{status, "", ::testing::internal::GetCapturedStderr()};
        };
        const std::int64_t first =
            CheckStopped(dir, run("", fillingDisk), "j" + jobs, "No space left on device");
        EXPECT_EQ(run(" --from " + std::to_string(first), WriteOutput).status, 0);
        EXPECT_EQ(FilesOfTheWholeBatch(dir, "j" + jobs), kRecords);
    }
}

// The real thing, as root: a small memory file system fills up (a larger one then takes
// the rest), and a read-only one refuses every file; for others, a folder they may not write.
TEST(BatchFaults, FullAndReadOnlyFileSystemsStopTheBatch) {
    ScratchDirectory dir;
    WriteListAndWholeBatch(dir);
    const bool root = geteuid() == 0;
    const std::string run = "qvbarcode --batch list.txt --jobs 2" + kDraw + "out/###.png";
    if (!root) {
        ASSERT_EQ(RunShell(dir, "mkdir out && chmod a-w out").status, 0);
        CheckStopped(dir, RunShell(dir, run), "out", "cannot write out/001.png: Permission denied");
        GTEST_SKIP() << "full and read-only file systems are mounted only when run as root";
    }
    struct Mounted {
        const ScratchDirectory& dir;
        ~Mounted() { RunShell(dir, "umount out"); }
    };
    ASSERT_EQ(RunShell(dir, "mkdir out && mount -t tmpfs -o size=64k qv-full out").status, 0)
        << "root, yet no tmpfs can be mounted";
    {
        const Mounted mounted{dir};
        const std::int64_t first =
            CheckStopped(dir, RunShell(dir, run), "out", "No space left on device");
        ASSERT_EQ(RunShell(dir, "mount -o remount,size=4m out").status, 0);
        EXPECT_EQ(RunShell(dir, run + " --from " + std::to_string(first)).status, 0);
        EXPECT_EQ(FilesOfTheWholeBatch(dir, "out"), kRecords);
    }
    ASSERT_EQ(RunShell(dir, "mount --bind whole out && mount -o remount,bind,ro out").status, 0);
    const Mounted mounted{dir};
    CheckStopped(dir, RunShell(dir, run), "out", "cannot write out/001.png: Read-only file system");
}

}  // namespace
}  // namespace qv::cli::test
