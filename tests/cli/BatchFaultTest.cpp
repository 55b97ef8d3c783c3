// SPDX-License-Identifier: MIT
// Faults on the way out: a failure that every later record would meet too stops the batch
// with one message, leaves only whole files, and --from completes the set; a signal does the
// same, a shortage of memory or descriptors costs threads, not records.
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

// Signals and limits, with two threads: the batch ends with one line that names the first
// record not written (every one before it is, whatever the threads did), leaves only whole
// files, and --from that record completes the set (a temporary left would be one too many);
// a lack of descriptors or memory only leaves fewer threads.
TEST(BatchFaults, SignalsAndLimitsEndTheBatchSayingWhereToResume) {
    struct Case {
        std::string limit;   // shell text before the run
        std::string signal;  // sent once the 100th file is there
        int records, status;
        std::string said;  // before the summary
    };
    std::vector<Case> cases{
        {"", "INT", 5000, 130, "interrupted: record (\\d+) and those after it are not drawn"},
        {"", "TERM", 5000, 143, "terminated: record (\\d+) and those after it are not drawn"},
        {"ulimit -f 1;", "", 300, 2,
         "stopped at record (1) .*: cannot write out/00001.png: File too large; every later"},
    };
    // The sanitizers need descriptors and far more address space of their own; descriptors
    // a test runner leaves open are closed, so that five leave what they leave in a shell.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    cases.push_back({"exec 3>&- 4>&-; ulimit -n 5;", "", 300, 0,
                     "drawn again alone, the batch goes on with 1 thread"});
    cases.push_back({"ulimit -v 50000;", "", 2000, 0, ""});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit + c.signal);
        ScratchDirectory dir;
        const std::string batch = "qvbarcode --batch list.txt --jobs 2" + kDraw + "out/#####.png";
        std::string run = "seq 400638133390 " + std::to_string(400638133389 + c.records) +
                          " >list.txt && (" + c.limit + batch + ")";
        if (!c.signal.empty()) {
            run +=
                " & p=$!; while kill -0 $p && [ ! -e out/00100.png ]; do sleep 0.01; done; "
                "kill -" +
                c.signal + " $p; wait $p";
        }
        const ProgramRun ended = RunShell(dir, run);
        EXPECT_EQ(ended.status, c.status) << ended.err;
        std::smatch said;
        const std::string summary = "qvbarcode: (\\d+) drawn, 0 failed\n$";
        if (c.status == 0) {
            EXPECT_TRUE(std::regex_search(ended.err, said, std::regex(c.said + "[^]*" + summary)))
                << ended.err;
            EXPECT_EQ(said.empty() ? 0 : std::stoi(said[said.size() - 1]), c.records);
            continue;
        }
        if (!std::regex_search(ended.err, said,
                               std::regex(c.said + ".*Resume with --from (\\d+)\n" + summary))) {
            ADD_FAILURE() << ended.err;
            continue;
        }
        const int first = std::stoi(said[1]);
        EXPECT_EQ(said[2], said[1]);
        EXPECT_EQ(std::stoi(said[3]), first - 1);
        for (int number = 1; number < first; ++number) {
            ASSERT_TRUE(
                fs::exists(dir / "out" / (std::to_string(100000 + number).substr(1) + ".png")))
                << number << " is missing, before " << first;
        }
        for (const auto& entry : fs::directory_iterator(dir / "out")) {  // whole files only
            const std::string bytes = FileText(entry.path());
            EXPECT_EQ(bytes.rfind("IEND"), bytes.size() - 8) << entry.path();
        }
        EXPECT_EQ(RunShell(dir, batch + " --from " + said[1].str()).status, 0);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), {}), c.records);
    }
}

// A run after one that was killed mid-write removes the temporaries of its own pattern that
// no writer holds, and only those (not another pattern's, nor one being written); and it puts its
// files on disk before it says they are.
TEST(BatchFaults, ARunClearsAKilledRunsTemporariesAndSyncsBeforeItsSummary) {
    ScratchDirectory dir;
    WriteListAndWholeBatch(dir);
    const std::vector<std::string> left{".001.png.k1ll3d", ".002.png.abcdef"},
        kept{".notes.txt.abcdef", ".001.png.abc", "001.png.abcdef", ".x01.png.abcdef",
             ".003.png.held00"};
    std::string make = "mkdir out && cd out && touch";
    for (const auto& name : left) make += " " + name;
    for (const auto& name : kept) make += " " + name;
    // The last one a live writer holds.
    ASSERT_EQ(
        RunShell(dir, make + " && touch -d '1 minute ago' .* * && "
                             "(flock .003.png.held00 sh -c 'touch ../held; sleep 5' "
                             ">/dev/null 2>&1 &) && until [ -e ../held ]; do sleep 0.01; done")
            .status,
        0);
    const ProgramRun traced =
        RunShell(dir, "strace -f -e trace=syncfs,write -o trace.txt qvbarcode --batch list.txt" +
                          kDraw + "out/###.png");
    for (const auto& name : left) EXPECT_FALSE(fs::exists(dir / "out" / name)) << name;
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(dir / "out" / name)) << name;
    if (traced.status != 0 && !fs::exists(dir / "out/001.png")) {
        GTEST_SKIP() << "strace cannot trace here: " << traced.err;
    }
    const std::string trace = FileText(dir / "trace.txt");
    const std::size_t synced = trace.find("syncfs("), summary = trace.find("drawn, 0 failed");
    EXPECT_NE(synced, std::string::npos) << trace.substr(trace.size() - 400);
    EXPECT_LT(synced, summary);
    // A single drawing syncs once its file has its name (the leak check of the sanitizer tree
    // fails it at its exit when traced, after that).
    RunShell(dir,
             "strace -f -e trace=syncfs,rename,renameat,renameat2,linkat -o single.txt "
             "qvbarcode -d 400638133393" +
                 kDraw + "out/one.png");
    const std::string single = FileText(dir / "single.txt");
    EXPECT_NE(single.find("syncfs(", single.rfind("one.png")), std::string::npos) << single;
}

}  // namespace
}  // namespace qv::cli::test