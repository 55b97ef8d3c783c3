// SPDX-License-Identifier: MIT
#include <sched.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <thread>
#include <variant>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/surface/Font.h>
#include <qvbarcode/symbology/Symbologies.h>
#include "commands/Commands.h"
#include "commands/PrintedDocument.h"
#include "drawing/RenderBarcode.h"
#include "input/BatchRecords.h"
#include "input/ListText.h"
#include "options/ExitStatus.h"
#include "options/TerminalText.h"
#include "output/BatchFiles.h"
#include "output/FailureText.h"
#include "output/FileAccess.h"
#include "output/OutputPattern.h"
#include "pipeline/BatchDocument.h"
#include "pipeline/BatchReport.h"
#include "pipeline/BatchWork.h"
#include "pipeline/Interruption.h"
#include "pipeline/OrderedPipeline.h"

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
void NameOtherColumns(const BatchReader& reader, const OutputPattern& pattern,
                      const BatchDocument* document) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < reader.ColumnNames().size(); ++i) {
        if (reader.IsOtherColumn(i) && !pattern.UsesColumn(i) &&
            !(document != nullptr && document->UsesColumn(i))) {
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

// The batch's one document, never one of the files it reads.
std::variant<std::unique_ptr<BatchDocument>, std::string> BeginDocument(
    const Options& options, const std::vector<std::string>& columns) {
    if (const auto written = IdentifyRead(options.output, "")) {
        for (const ReadFile& read : FilesRead(options)) {
            if (read.identity == written->identity) {
                return "the document " + options.output + " is " + read.role +
                       ": it is never written onto";
            }
        }
    }
    return BatchDocument::Begin(options, columns);
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
    try {  // the font configuration is read while the descriptors the batch takes are free
        surface::ControlFont();
    } catch (const host::FailedCall&) {  // each worker meets it again, and says so
    }
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
    std::unique_ptr<BatchDocument> document;
    if (options.oneDocument) {
        auto begun = BeginDocument(options, reader.ColumnNames());
        if (auto* why = std::get_if<std::string>(&begun)) {
            std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(*why).c_str());
            return kExitUsage;
        }
        document = std::get<std::unique_ptr<BatchDocument>>(std::move(begun));
    }
    NameOtherColumns(reader, pattern, document.get());
    BatchFiles files(pattern, FilesRead(options));
    const FileWriter writer =
        write ? write : [&files](const std::string& path, std::string_view bytes) {
            return files.Write(path, bytes);
        };
    StopBatchOnSignals();

    const std::size_t threads = ThreadCount(options);
    std::optional<RecordWorkers> workers;
    std::get<RenderOptions>(render).recording = options.oneDocument;
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
    if (document) {
        report.PlaceDrawn([&document](RecordJob& job) { return document->Place(job); });
    }
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
                    if (document) document->Prepare(chunk.back());
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
        report.Ended("out of memory", std::max(report.Reported() + 1, options.firstRecord));
        report.Summary(!list->bad(), files.Sync());
        return kExitFailedCall;
    }
    if (!reader.StoppedBy().empty()) {
        std::fprintf(stderr, "qvbarcode: %s: %s; no record from it on is drawn\n", listName.c_str(),
                     TerminalText(reader.StoppedBy()).c_str());
        report.Summary(true, files.Sync());
        return kExitUsage;
    }
    if (Interruption() != 0) {
        report.Ended(Interruption() == SIGTERM ? "terminated" : "interrupted",
                     listEnded ? 0 : std::max(recordsRead + 1, options.firstRecord));
    } else if (recordsRead < options.firstRecord && options.firstRecord > 1 && !list->bad()) {
        std::fprintf(stderr, "qvbarcode: --from %lld: the list has %lld records\n",
                     static_cast<long long>(options.firstRecord),
                     static_cast<long long>(recordsRead));
        return kExitUsage;
    }
    // Every file the run wrote is on disk before the summary says it was drawn; a document
    // ended early keeps no name.
    std::optional<FileFailure> unwritten = files.Sync();
    if (document && Interruption() == 0 && !unwritten) {
        unwritten = document->Finish();
    }
    const int status = report.Summary(!list->bad(), unwritten);
    if (document && document->SomeTooLarge() && status == kExitResultCode) return kExitUsage;
    // What was drawn is printed, as it is written, when some records failed.
    if (options.printQueue && document && document->Written()) {
        const int printed = PrintFinishedDocument(options, *document);
        return printed == kExitDrawn ? status : printed;
    }
    return status;
}

}  // namespace qv::cli
