// SPDX-License-Identifier: MIT
#include <sched.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <thread>
#include <variant>

#include "commands/Commands.h"
#include "drawing/RenderBarcode.h"
#include "input/BatchRecords.h"
#include "options/ExitStatus.h"
#include "options/TerminalText.h"
#include "output/BatchFiles.h"
#include "output/FailureText.h"
#include "output/FileAccess.h"
#include "output/OutputPattern.h"
#include "pipeline/BatchWork.h"
#include "pipeline/Interruption.h"
#include "pipeline/OrderedPipeline.h"
#include "pipeline/Progress.h"

namespace qv::cli {

namespace {

namespace fs = std::filesystem;

// The lines of a regular file, for the progress bar; 0 (unknown) for a pipe or a terminal,
// which cannot be read twice.
std::int64_t CountLines(const std::string& path, std::ifstream& file) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return 0;
    }
    std::array<char, 1 << 16> buffer;
    std::int64_t lines = 0;
    char last = '\n';
    while (file.read(buffer.data(), buffer.size()) || file.gcount() > 0) {
        const auto count = static_cast<std::size_t>(file.gcount());
        for (std::size_t i = 0; i < count; ++i) {
            // LF, CRLF and a CR alone each end a line.
            lines += buffer[i] == '\n' ? last != '\r' : buffer[i] == '\r';
            last = buffer[i];
        }
    }
    file.clear();
    file.seekg(0);
    return last == '\n' || last == '\r' ? lines : lines + 1;
}

// Reports on the records in reading order, writes the files that had to wait for their
// turn, and stops the batch at the first failure that every later record would meet too,
// or at an interruption. A record that failed for want of memory or descriptors is drawn
// again alone, and the batch goes on with half the threads.
class BatchReport {
  public:
    BatchReport(std::int64_t total, TakenNames* names, FileWriting files, StopMark& stop,
                DrawingGate& gate, std::atomic<std::size_t>& threads)
        : progress_(Progress::TerminalOrNull(stderr), total),
          names_(names),
          files_(std::move(files)),
          stop_(stop),
          gate_(gate),
          threads_(threads) {}

    void Record(RecordJob& job, RecordWorker& worker) {
        reported_ = job.record.number;
        if (stoppedAt_ != 0 || resumeAt_ != 0) {
            return;  // drawn beyond the stop: the resumed batch draws it again
        }
        if (job.skipped) {
            resumeAt_ = job.record.number;  // not drawn for an interruption
            return;
        }
        if (job.shortOf) {
            Again(job, [&] { worker.Again(job, stop_); });
        }
        if (job.drawn && names_ != nullptr) {
            if (const std::int64_t owner = names_->Take(job.key, job.record.number)) {
                job.drawn = false;
                job.warnings.clear();  // as if never drawn
                job.failure = job.path + " is record " + std::to_string(owner) +
                              "'s file already: not overwritten";
            }
        }
        if (job.drawn && job.writeWhenDue) {
            files_.Write(job, job.bytes);
            if (job.shortOf) {
                Again(job, [&] {
                    job.failure.clear();
                    job.shortOf = false;
                    files_.Write(job, job.bytes);
                });
            }
            job.bytes = {};
        }
        if (job.stops || job.shortOf) {
            Stop(job);
            return;
        }
        for (const std::string& warning : job.warnings) {
            Say(job.record, "warning: " + warning);
        }
        if (!job.failure.empty()) {
            Say(job.record, job.failure);
            ++failed_;
        } else {
            ++drawn_;
        }
        progress_.Update(drawn_ + failed_);
    }

    // The last record seen, 0 before the first.
    std::int64_t Reported() const { return reported_; }
    // After an interruption: the record to resume from, or 0 when every record is done.
    std::int64_t ResumeAt(std::int64_t nextUnread) const {
        return stoppedAt_ != 0 ? 0 : resumeAt_ != 0 ? resumeAt_ : nextUnread;
    }

    int Summary(bool listRead, const std::optional<FileFailure>& unsynced) {
        progress_.Clear();
        if (!listRead) {
            std::fprintf(stderr, "qvbarcode: cannot read the rest of the batch list\n");
        }
        if (unsynced) {
            std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(unsynced->message).c_str());
        }
        std::fprintf(stderr, "qvbarcode: %lld drawn, %lld failed\n", static_cast<long long>(drawn_),
                     static_cast<long long>(failed_));
        if (Interruption() != 0) return 128 + Interruption();
        return !listRead || stoppedAt_ || unsynced ? kExitUsage
               : failed_ == 0                      ? kExitDrawn
                                                   : kExitResultCode;
    }

  private:
    // Runs the record's drawing or writing again with no other record drawn meanwhile,
    // the batch going on with half the threads.
    void Again(RecordJob& job, const std::function<void()>& again) {
        if (const std::size_t threads = threads_.load(); threads > 1) {
            threads_.store(threads / 2);
            Say(job.record, job.failure + "; drawn again alone, the batch goes on with " +
                                std::to_string(threads / 2) +
                                (threads / 2 == 1 ? " thread" : " threads"));
        }
        gate_.Alone(again);
    }

    // One message for the record and every one after it, which would fail alike.
    void Stop(const RecordJob& job) {
        stoppedAt_ = job.record.number;
        stop_.At(job.record.number);
        Say(job.record,
            job.failure + "; every later record would fail too. Resume with --from " +
                std::to_string(job.record.number),
            "stopped at ");
    }

    void Say(const BatchRecord& record, const std::string& message, const char* lead = "") {
        progress_.Clear();
        std::fprintf(stderr, "qvbarcode: %s%s: %s\n", lead, RecordName(record).c_str(),
                     TerminalText(message).c_str());
    }

    Progress progress_;
    TakenNames* names_;
    FileWriting files_;
    StopMark& stop_;
    DrawingGate& gate_;
    std::atomic<std::size_t>& threads_;
    std::int64_t drawn_ = 0;
    std::int64_t failed_ = 0;
    std::int64_t stoppedAt_ = 0;
    std::int64_t resumeAt_ = 0;
    std::int64_t reported_ = 0;
};

// The one line a batch ended early says before its summary: why, and where to resume.
void SayEnded(const char* why, std::int64_t resumeAt) {
    if (resumeAt == 0) {
        std::fprintf(stderr, "qvbarcode: %s after the last record: nothing left to draw\n", why);
    } else {
        std::fprintf(stderr,
                     "qvbarcode: %s: record %lld and those after it are not drawn. Resume with "
                     "--from %lld\n",
                     why, static_cast<long long>(resumeAt), static_cast<long long>(resumeAt));
    }
}

// The files a batch reads, which it never writes onto.
std::vector<ReadFile> FilesRead(const Options& options) {
    std::vector<ReadFile> reads;
    for (auto read : {IdentifyRead(options.batchInput, "the batch list"),
                      IdentifyRead(options.onto ? options.onto->path : "", "the --onto picture")}) {
        if (read) reads.push_back(std::move(*read));
    }
    return reads;
}

// Says which columns the batch reads nothing from, once.
void NameOtherColumns(const BatchReader& reader, const OutputPattern& pattern) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < reader.ColumnNames().size(); ++i) {
        if (reader.IsOtherColumn(i) && !pattern.UsesColumn(i)) {
            names.push_back(reader.ColumnNames()[i]);
        }
    }
    if (names.empty()) {
        return;
    }
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : ", ") + TerminalText(name);
    }
    std::fprintf(stderr,
                 "qvbarcode: ignoring the column%s %s: %s no property (a file name pattern may "
                 "use %s, as {%s})\n",
                 names.size() > 1 ? "s" : "", joined.c_str(),
                 names.size() > 1 ? "they set" : "it sets", names.size() > 1 ? "them" : "it",
                 TerminalText(names.front()).c_str());
}

// The drawing threads --jobs asks for, or one per core the program may run on (a container
// or taskset may allow fewer than the machine has).
std::size_t ThreadCount(const Options& options) {
    if (options.jobs > 0) {
        return static_cast<std::size_t>(options.jobs);
    }
    cpu_set_t allowed;
    const int cores = sched_getaffinity(0, sizeof allowed, &allowed) == 0
                          ? CPU_COUNT(&allowed)
                          : static_cast<int>(std::thread::hardware_concurrency());
    return static_cast<std::size_t>(std::clamp(cores, 1, 256));
}

// Records go from stage to stage a chunk at a time, so threads meet once per chunk, not
// once per file; a few chunks per thread on their way let a slow record hold up none.
constexpr std::size_t kChunkRecords = 16;
constexpr std::size_t kChunksPerThread = 4;

}  // namespace

int RunBatch(const Options& options) {
    return RunBatch(options, {});
}

int RunBatch(const Options& options, const FileWriter& write) {
    std::ifstream file;
    std::istream* list = &std::cin;
    std::int64_t lines = 0;
    if (options.batchInput != "-") {
        file.open(options.batchInput, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "qvbarcode: cannot read the batch list %s\n",
                         TerminalText(options.batchInput).c_str());
            return kExitUsage;
        }
        lines = CountLines(options.batchInput, file);
        list = &file;
    }
    auto render = ReadRenderOptions(options);
    if (auto* error = std::get_if<std::string>(&render)) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(*error).c_str());
        return kExitUsage;
    }
    BatchReader reader(*list, {options.settings, options.textColumn, options.dotsPerInch});
    OutputPattern pattern = std::get<OutputPattern>(OutputPattern::Parse(options.output));
    std::string error;
    if (auto header = reader.Start()) {
        error = std::move(*header);
    } else {
        error = pattern.Bind(reader.ColumnNames());
    }
    if (!error.empty()) {
        std::fprintf(
            stderr, "qvbarcode: %s: %s\n",
            options.batchInput == "-" ? "standard input" : TerminalText(options.batchInput).c_str(),
            TerminalText(error).c_str());
        return kExitUsage;
    }
    if (const std::string file = NoFolderOnTheWay(pattern.FixedFolder()); !file.empty()) {
        std::fprintf(stderr, "qvbarcode: cannot write into %s: it is a file, not a folder\n",
                     TerminalText(file).c_str());
        return kExitUsage;
    }
    NameOtherColumns(reader, pattern);
    BatchFiles files(pattern, FilesRead(options));
    const FileWriter writer =
        write ? write : [&files](const std::string& path, std::string_view bytes) {
            return files.Write(path, bytes);
        };
    StopBatchOnSignals();

    const std::size_t threads = ThreadCount(options);
    std::optional<RecordWorkers> workers;
    try {
        workers.emplace(threads, std::get<RenderOptions>(render), writer, pattern.FixedFolder());
    } catch (const host::FailedCall& failure) {
        // The caption's font: without it no record can be drawn.
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(FailedCallLine(failure)).c_str());
        return kExitFailedCall;
    }
    TakenNames names;
    RecordNamer namer(pattern, names, files);
    StopMark stop;
    std::atomic<std::size_t> threadsAllowed{threads};
    const std::int64_t skipped = options.firstRecord - 1;
    BatchReport report((reader.HasHeader() ? lines - 1 : lines) - skipped,
                       pattern.NamesColumns() ? &names : nullptr,
                       FileWriting(writer, pattern.FixedFolder()), stop, workers->Gate(),
                       threadsAllowed);
    std::int64_t recordsRead = 0;
    bool listEnded = false;
    std::vector<std::vector<RecordJob>> chunks(threads * kChunksPerThread);
    const OrderedStages stages{
        [&](std::size_t slot) {
            std::vector<RecordJob>& chunk = chunks[slot];
            chunk.clear();
            while (chunk.size() < kChunkRecords && !stop.Set() && Interruption() == 0) {
                std::optional<BatchRecord> record = reader.Next();
                if (!record) {
                    listEnded = true;
                    return false;
                }
                recordsRead = record->number;
                if (record->number < options.firstRecord) {
                    namer.Skip(*record);
                } else {
                    chunk.push_back(namer.Name(std::move(*record)));
                }
            }
            return !stop.Set() && Interruption() == 0;
        },
        [&](std::size_t slot, std::size_t thread) {
            for (RecordJob& job : chunks[slot]) workers->Work(thread, job, stop);
        },
        [&](std::size_t slot) {
            for (RecordJob& job : chunks[slot]) report.Record(job, workers->First());
        },
        &threadsAllowed,
    };
    // A failed call a record's own drawing does not catch ends the program in main; memory
    // running out in reading or reporting ends the batch with the record to resume from.
    try {
        RunInOrder(threads, chunks.size(), stages);
    } catch (const std::bad_alloc&) {
        SayEnded("out of memory",
                 report.ResumeAt(std::max(report.Reported() + 1, options.firstRecord)));
        report.Summary(!list->bad(), files.Sync());
        return kExitFailedCall;
    }
    if (Interruption() != 0) {
        SayEnded(Interruption() == SIGTERM ? "terminated" : "interrupted",
                 report.ResumeAt(listEnded ? 0 : std::max(recordsRead + 1, options.firstRecord)));
    } else if (recordsRead < options.firstRecord && options.firstRecord > 1 && !list->bad()) {
        std::fprintf(stderr, "qvbarcode: --from %lld: the list has %lld records\n",
                     static_cast<long long>(options.firstRecord),
                     static_cast<long long>(recordsRead));
        return kExitUsage;
    }
    // Every file the run wrote is on disk before the summary says it was drawn.
    return report.Summary(!list->bad(), files.Sync());
}

}  // namespace qv::cli
