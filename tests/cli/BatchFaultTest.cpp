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

const std::string kDraw = " -t ean13 -c -w -s -o ";

// The list of `records` EAN-13 texts, and the batch of it written whole into whole/.
void WriteListAndWholeBatch(const ScratchDirectory& dir, int records) {
    const std::string list = "seq 400638133390 " + std::to_string(400638133389 + records);
    const std::string batch = " >list.txt && qvbarcode --batch list.txt" + kDraw;
    ASSERT_EQ(RunShell(dir, list + batch + "whole/#####.png").status, 0);
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

// A batch ended early says so in one message before the summary, `said` with the first
// record not written as its group; every record before that one is written, and every file
// is whole. The record to resume from, 0 when it did not end so.
std::int64_t CheckEnded(const ScratchDirectory& dir, const ProgramRun& run, const std::string& said,
                        const std::string& folder) {
    std::smatch ended;
    const std::string pattern =
        "qvbarcode: " + said +
        "[^\n]* Resume with --from (\\d+)\nqvbarcode: (\\d+) drawn, 0 failed\n";
    if (!std::regex_match(run.err, ended, std::regex(pattern)) || ended[1] != ended[2] ||
        std::stoll(ended[3]) != std::stoll(ended[1]) - 1) {
        ADD_FAILURE() << "not one message for " << said << ":\n" << run.err;
        return 0;
    }
    const std::int64_t first = std::stoll(ended[1]);
    for (std::int64_t number = 1; number < first; ++number) {
        EXPECT_TRUE(fs::exists(dir / folder / (std::to_string(100000 + number).substr(1) + ".png")))
            << number << " is missing, before " << first;
    }
    FilesOfTheWholeBatch(dir, folder);
    return first;
}

// A disk that fills up after some 40 files, one thread and three: what is on disk and what
// the resumed batch adds are the uninterrupted batch's files.
TEST(BatchFaults, AFullDiskStopsTheBatchAndFromResumesIt) {
    ScratchDirectory dir;
    WriteListAndWholeBatch(dir, 100);
    const std::size_t fileSize = fs::file_size(dir / "whole/00001.png");
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
                                    kDraw + (dir / ("j" + jobs) / "#####.png").string() + more);
            const std::vector<std::string> words{std::istream_iterator<std::string>(line), {}};
            const std::vector<std::string_view> arguments(words.begin(), words.end());
            ::testing::internal::CaptureStderr();
            const int status = RunBatch(std::get<Options>(ParseArguments(arguments)), write);
            return ProgramRun{status, "", ::testing::internal::GetCapturedStderr()};
        };
        const ProgramRun stopped = run("", fillingDisk);
        EXPECT_EQ(stopped.status, 2);
        const std::int64_t first =
            CheckEnded(dir, stopped, "stopped at record (\\d+) .*: No space left on device; every",
                       "j" + jobs);
        EXPECT_EQ(run(" --from " + std::to_string(first), WriteOutput).status, 0);
        EXPECT_EQ(FilesOfTheWholeBatch(dir, "j" + jobs), 100);
    }
}

// Faults with two threads: signals, file systems that fill up (a larger one then takes the
// rest) or are read-only (mounted as root; for others, a folder they may not write) and a
// file size limit end the batch with one line that names the first record not written
// (every one before it is, whatever the threads did), leave only whole files, and --from
// that record completes the set (a temporary left would be one too many); a lack of
// descriptors or memory only leaves fewer threads, and the same files.
TEST(BatchFaults, FaultsEndTheBatchSayingWhereToResume) {
    struct Case {
        std::string setup;   // shell text before the run, in its shell, once out/ is made
        std::string signal;  // sent once the 100th file is there
        int records, status;
        std::string said;         // its group the first record not written, when it ends early
        std::string resume = "";  // shell text before resuming
    };
    std::vector<Case> cases{
        {"", "INT", 2000, 130, "interrupted: record (\\d+) and those after it are not drawn"},
        {"", "TERM", 2000, 143, "terminated: record (\\d+) and those after it are not drawn"},
        {"ulimit -f 1;", "", 300, 2,
         "stopped at record (1) .*: cannot write out/00001.png: File too large; every"},
    };
    if (geteuid() == 0) {
        cases.push_back({"mount -t tmpfs -o size=64k qv-full out &&", "", 100, 2,
                         "stopped at record (\\d+) .*: No space left on device; every",
                         "mount -o remount,size=4m out"});
        cases.push_back({"mount -t tmpfs -o ro qv-ro out &&", "", 100, 2,
                         "stopped at record (1) .*: cannot write out/00001.png: Read-only file",
                         "mount -o remount,rw out"});
    } else {
        cases.push_back({"chmod a-w out &&", "", 100, 2,
                         "stopped at record (1) .*: cannot write out/00001.png: Permission denied",
                         "chmod u+w out"});
    }
    // The sanitizers need descriptors and far more address space of their own; descriptors
    // a test runner leaves open are closed, so that five leave what they leave in a shell.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    cases.push_back({"exec 3>&- 4>&-; ulimit -n 5;", "", 300, 0,
                     "drawn again alone, the batch goes on with 1 thread"});
    cases.push_back({"ulimit -v 50000;", "", 2000, 0, ""});
#endif
    ScratchDirectory dir;
    WriteListAndWholeBatch(dir, 2000);
    struct Cleared {  // a file system mounted goes, whatever the row's outcome
        const ScratchDirectory& dir;
        ~Cleared() { RunShell(dir, "umount out; chmod -R u+w out; rm -r out rows.txt"); }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setup + c.signal);
        const Cleared cleared{dir};
        const std::string batch = "qvbarcode --batch rows.txt --jobs 2" + kDraw + "out/#####.png";
        std::string run = "head -n " + std::to_string(c.records) +
                          " list.txt >rows.txt && mkdir out && (" + c.setup + batch + ")";
        if (!c.signal.empty()) {
            run +=
                " & p=$!; while kill -0 $p && [ ! -e out/00100.png ]; do sleep 0.01; done; "
                "kill -" +
                c.signal + " $p; wait $p";
        }
        const ProgramRun ended = RunShell(dir, run);
        EXPECT_EQ(ended.status, c.status) << ended.err;
        if (c.status == 0) {
            EXPECT_TRUE(Holds(ended.err, c.said));
            EXPECT_TRUE(Holds(ended.err, " " + std::to_string(c.records) + " drawn, 0 failed\n"));
            EXPECT_EQ(FilesOfTheWholeBatch(dir, "out"), c.records);  // captions in its font too
            continue;
        }
        const std::int64_t first = CheckEnded(dir, ended, c.said, "out");
        const std::string resume = (c.resume.empty() ? "" : c.resume + " && ") + batch;
        EXPECT_EQ(RunShell(dir, resume + " --from " + std::to_string(first)).status, 0);
        EXPECT_EQ(FilesOfTheWholeBatch(dir, "out"), c.records);
    }
}

// A run after one that was killed mid-write removes the temporaries of its own pattern that
// no writer holds, and only those (not another pattern's, nor one being written); and it puts its
// files on disk before it says they are.
TEST(BatchFaults, ARunClearsAKilledRunsTemporariesAndSyncsBeforeItsSummary) {
    ScratchDirectory dir;
    const std::vector<std::string> left{".001.png.k1ll3d", ".002.png.abcdef"},
        kept{".notes.txt.abcdef", ".001.png.abc", "001.png.abcdef", ".x01.png.abcdef",
             ".003.png.held00"};
    std::string make = "seq 400638133390 400638133489 >list.txt && mkdir out && cd out && touch";
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