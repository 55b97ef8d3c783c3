// SPDX-License-Identifier: MIT
#include <sched.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <thread>
#include <variant>

#include "commands/Commands.h"
#include "drawing/RenderBarcode.h"
#include "input/BatchRecords.h"
#include "input/ListText.h"
#include "options/ExitStatus.h"
#include "options/TerminalText.h"
#include "options/UserMessages.h"
#include "output/FailureText.h"
#include "output/FileAccess.h"
#include "output/OutputPattern.h"
#include "pipeline/BatchWork.h"
#include "pipeline/OrderedPipeline.h"
#include "pipeline/Progress.h"
#include "symbology/Symbologies.h"

namespace qv::cli {

namespace {

namespace fs = std::filesystem;

// A regular file read through once: its lines for the progress bar, and a line that is no
// UTF-8, which stops the batch before any record. Nothing for a pipe or a terminal, which
// cannot be read twice.
ListScan ScanFile(const std::string& path, std::ifstream& file) {
    std::error_code error;
    return fs::is_regular_file(path, error) ? ScanList(file) : ListScan{};
}

// Reports on the records in reading order, writes the files that had to wait for their
// turn, and stops the batch at the first failure that every later record would meet too.
class BatchReport {
  public:
    BatchReport(std::int64_t total, TakenNames* names, FileWriting files, StopMark& stop)
        : progress_(Progress::TerminalOrNull(stderr), total),
          names_(names),
          files_(std::move(files)),
          stop_(stop) {}

    void Record(RecordJob& job) {
        if (stoppedAt_ || job.skipped) {
            return;  // drawn beyond the stop: the resumed batch draws it again
        }
        if (job.record.empty) {
            ++empty_;
            progress_.Update(drawn_ + failed_ + empty_);
            return;
        }
        if (job.drawn && names_ != nullptr) {
            if (const std::int64_t owner = names_->Take(job.path, job.record.number)) {
                job.drawn = false;
                job.warnings.clear();  // as if never drawn
                job.failure = job.path + " is record " + std::to_string(owner) +
                              "'s file already: not overwritten";
            }
        }
        if (job.drawn && job.writeWhenDue) {
            files_.Write(job, job.bytes);
            job.bytes = {};
        }
        if (job.stops) {
            Stop(job);
            return;
        }
        for (const std::string& warning : job.warnings) {
            Say(job.record, "warning: " + warning);
        }
        for (const RunNote& note : job.runNotes) {
            if (!said_[note.kind]) {
                said_[note.kind] = true;
                progress_.Clear();
                std::fprintf(stderr, "qvbarcode: %s%s\n", note.warning ? "warning: " : "",
                             TerminalText(note.text).c_str());
            }
        }
        if (!job.failure.empty()) {
            Say(job.record, job.failure + EarlierFileLeft(job.path));
            ++failed_;
        } else {
            ++drawn_;
        }
        progress_.Update(drawn_ + failed_ + empty_);
    }

    int Summary(bool listRead) {
        progress_.Clear();
        if (!listRead) {
            std::fprintf(stderr, "qvbarcode: cannot read the rest of the batch list\n");
        }
        std::fprintf(stderr, "qvbarcode: %lld drawn, %lld failed", static_cast<long long>(drawn_),
                     static_cast<long long>(failed_));
        if (empty_ > 0) {
            std::fprintf(stderr, ", %lld empty row%s skipped", static_cast<long long>(empty_),
                         empty_ > 1 ? "s" : "");
        }
        std::fputc('\n', stderr);
        return !listRead || stoppedAt_ ? kExitUsage : failed_ == 0 ? kExitDrawn : kExitResultCode;
    }

  private:
    // A failed record's file left as an earlier run wrote it, said so, since it still scans
    // as that run's data; nothing when there is none or this run wrote it.
    std::string EarlierFileLeft(const std::string& path) {
        std::error_code error;
        if (path.empty() || (names_ != nullptr && names_->Owner(path) != 0) ||
            !fs::exists(path, error)) {
            return {};
        }
        return "; " + cli::Say(Message::LeftUnchanged, UserLanguage(), {path});
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
    std::int64_t drawn_ = 0;
    std::int64_t failed_ = 0;
    std::int64_t empty_ = 0;
    std::int64_t stoppedAt_ = 0;
    std::array<bool, RunNote::ReductionRounded + 1> said_{};  // each kind of note, once
};

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

// Why no record of the list can be drawn for want of a barcode type: none given and no
// column for it, or a number that no symbology has; or "" when records may be drawn.
std::string TypeRefusal(const BarcodeSettings& defaults, const BatchReader& reader) {
    if (reader.ReadsColumn(control::Property::BarCodeType)) {
        return {};
    }
    if (!defaults.barCodeType) {
        return "a barcode type is needed: -t i2of5|s2of5|code39|ean13, or a BarCodeType column";
    }
    if (symbology::FindSymbology(*defaults.barCodeType) == nullptr) {
        return "-t " + std::to_string(*defaults.barCodeType) + " is no symbology's number (0 to " +
               std::to_string(symbology::Symbologies().size() - 1) +
               "): every record would fail with 1100";
    }
    return {};
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
    return RunBatch(options, WriteOutput);
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
        const ListScan scan = ScanFile(options.batchInput, file);
        if (scan.notUtf8 && options.encoding == ListEncoding::Utf8) {
            std::fprintf(stderr, "qvbarcode: %s: %s\n", TerminalText(options.batchInput).c_str(),
                         TerminalText(NotUtf8Line(*scan.notUtf8)).c_str());
            return kExitUsage;
        }
        lines = scan.lines;
        list = &file;
    }
    auto render = ReadRenderOptions(options);
    if (auto* error = std::get_if<std::string>(&render)) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(*error).c_str());
        return kExitUsage;
    }
    BatchReader reader(*list, {options.settings, options.textColumn, options.dotsPerInch,
                               options.separator, options.encoding});
    OutputPattern pattern = std::get<OutputPattern>(OutputPattern::Parse(options.output));
    std::string error;
    if (auto header = reader.Start()) {
        error = std::move(*header);
    } else if (error = pattern.Bind(reader.ColumnNames()); error.empty()) {
        error = TypeRefusal(options.settings, reader);
    }
    const std::string listName =
        options.batchInput == "-" ? "standard input" : TerminalText(options.batchInput);
    if (!error.empty()) {
        std::fprintf(stderr, "qvbarcode: %s: %s\n", listName.c_str(), TerminalText(error).c_str());
        return kExitUsage;
    }
    if (const std::string file = NoFolderOnTheWay(pattern.FixedFolder()); !file.empty()) {
        std::fprintf(stderr, "qvbarcode: cannot write into %s: it is a file, not a folder\n",
                     TerminalText(file).c_str());
        return kExitUsage;
    }
    NameOtherColumns(reader, pattern);

    const std::size_t threads = ThreadCount(options);
    std::deque<RecordWorker> workers;
    try {
        for (std::size_t i = 0; i < threads; ++i) {
            workers.emplace_back(std::get<RenderOptions>(render), i > 0,
                                 FileWriting(write, pattern.FixedFolder()));
        }
    } catch (const host::FailedCall& failure) {
        // The caption's font: without it no record can be drawn.
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(FailedCallLine(failure)).c_str());
        return kExitFailedCall;
    }
    TakenNames names;
    RecordNamer namer(pattern, names);
    StopMark stop;
    const std::int64_t skipped = options.firstRecord - 1;
    BatchReport report((reader.HasHeader() ? lines - 1 : lines) - skipped,
                       pattern.NamesColumns() ? &names : nullptr,
                       FileWriting(write, pattern.FixedFolder()), stop);
    std::int64_t recordsRead = 0;
    std::vector<std::vector<RecordJob>> chunks(threads * kChunksPerThread);
    const OrderedStages stages{
        [&](std::size_t slot) {
            std::vector<RecordJob>& chunk = chunks[slot];
            chunk.clear();
            while (chunk.size() < kChunkRecords && !stop.Set()) {
                std::optional<BatchRecord> record = reader.Next();
                if (!record) {
                    return false;
                }
                recordsRead = record->number;
                if (record->number < options.firstRecord) {
                    namer.Skip(*record);
                } else {
                    chunk.push_back(namer.Name(std::move(*record)));
                }
            }
            return !stop.Set();
        },
        [&](std::size_t slot, std::size_t thread) {
            for (RecordJob& job : chunks[slot]) workers[thread].Work(job, stop);
        },
        [&](std::size_t slot) {
            for (RecordJob& job : chunks[slot]) report.Record(job);
        },
    };
    // A failed call a record's own drawing does not catch ends the program in main.
    RunInOrder(threads, chunks.size(), stages);
    if (!reader.StoppedBy().empty()) {
        std::fprintf(stderr, "qvbarcode: %s: %s; no record from it on is drawn\n", listName.c_str(),
                     TerminalText(reader.StoppedBy()).c_str());
        report.Summary(true);
        return kExitUsage;
    }
    if (recordsRead < options.firstRecord && options.firstRecord > 1 && !list->bad()) {
        std::fprintf(stderr, "qvbarcode: --from %lld: the list has %lld records\n",
                     static_cast<long long>(options.firstRecord),
                     static_cast<long long>(recordsRead));
        return kExitUsage;
    }
    return report.Summary(!list->bad());
}

}  // namespace qv::cli
