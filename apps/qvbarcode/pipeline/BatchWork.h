// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "drawing/RenderBarcode.h"
#include "input/BatchRecords.h"
#include "output/FileAccess.h"
#include "output/OutputPattern.h"

namespace qv::cli {

// How a batch writes a file: WriteOutput, or a test's stand-in for a disk that fills up.
using FileWriter =
    std::function<std::optional<FileFailure>(const std::string& path, std::string_view bytes)>;

// One record on its way through a batch: named in reading order, drawn and mostly written
// on any thread, reported in reading order.
struct RecordJob {
    BatchRecord record;
    std::string path;           // its file
    std::string failure;        // why it has no file; empty while it may get one
    bool writeWhenDue = false;  // an earlier record had the name: written when reported
    bool drawn = false;
    bool stops = false;    // failure is one that every later record would meet too
    bool skipped = false;  // after the record the batch stops at: left alone
    std::string bytes;     // the picture, while it waits to be written
    std::vector<std::string> warnings;
    std::vector<RunNote> runNotes;  // the batch says each kind once
};

// The file names a batch's records take from the list's cells. A name an earlier record
// took fails the later record instead of overwriting its file; whether the earlier one took
// it is known only when it is reported, so a record whose name was seen before waits for
// that, and is written when it is reported.
class TakenNames {
  public:
    // In reading order: whether an earlier record had the name.
    bool SeenBefore(const std::string& path);
    // A record before --from whose file is on disk: the name is taken.
    void TakeSkipped(const std::string& path, std::int64_t number);
    // In reporting order, for a drawn record: the earlier record whose file it is, or 0,
    // and then the name is the record's.
    std::int64_t Take(const std::string& path, std::int64_t number);
    // In reporting order: the record whose file it is so far, or 0.
    std::int64_t Owner(const std::string& path);

  private:
    std::mutex mutex_;                                      // reading and reporting run at once
    std::unordered_map<std::string, std::int64_t> owners_;  // 0 while no record wrote it
};

// Names each record read: its file, or why it cannot be drawn. An empty row gets neither.
class RecordNamer {
  public:
    RecordNamer(const OutputPattern& pattern, TakenNames& names)
        : pattern_(pattern), names_(names) {}
    RecordJob Name(BatchRecord record);
    // A record before --from: read, not drawn; a file of it on disk keeps its name taken.
    void Skip(const BatchRecord& record);

  private:
    const OutputPattern& pattern_;
    TakenNames& names_;
};

// The record the batch stops at, once a failure every later record would meet has come;
// the records after it are not drawn.
class StopMark {
  public:
    void At(std::int64_t number);
    bool Set() const { return Get() != kNone; }
    bool IsAfter(std::int64_t number) const { return number > Get(); }

  private:
    static constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();
    std::int64_t Get() const { return first_.load(std::memory_order_relaxed); }
    std::atomic<std::int64_t> first_{kNone};
};

// Writes records' files, making the pattern's folders as they are needed (the last one made
// is remembered). One per thread.
class FileWriting {
  public:
    FileWriting(FileWriter write, std::string fixedFolder)
        : write_(std::move(write)), fixedFolder_(std::move(fixedFolder)) {}
    // Writes the job's file; else sets its failure and whether it stops the batch.
    void Write(RecordJob& job, std::string_view bytes);

  private:
    std::optional<FileFailure> MakeFolderFor(const std::string& path);
    bool EveryLaterRecordFails(const std::error_code& error) const;

    FileWriter write_;
    std::string fixedFolder_;
    std::string lastFolder_;
};

// Draws the records of one thread and writes their files.
class RecordWorker {
  public:
    RecordWorker(RenderOptions options, bool besideOthers, FileWriting files)
        : renderer_(std::move(options), besideOthers), files_(std::move(files)) {}
    void Work(RecordJob& job, StopMark& stop);

  private:
    BarcodeRenderer renderer_;
    FileWriting files_;
};

}  // namespace qv::cli
