// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
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
#include "output/BatchFiles.h"
#include "output/FileAccess.h"
#include "output/OutputPattern.h"

namespace qv::cli {

// How a batch writes a file, making the folders on its way: BatchFiles::Write, or a test's
// stand-in for a disk that fills up.
using FileWriter =
    std::function<std::optional<FileFailure>(const std::string& path, std::string_view bytes)>;

// One record on its way through a batch: named in reading order, drawn and mostly written
// on any thread, reported in reading order.
struct RecordJob {
    BatchRecord record;
    std::string path;           // its file
    std::string key;            // its file's identity (BatchFiles::Key), when named by cells
    std::string failure;        // why it has no file; empty while it may get one
    bool writeWhenDue = false;  // an earlier record had the name: written when reported
    bool drawn = false;
    bool stops = false;       // failure is one that every later record would meet too
    bool skipped = false;     // after the record the batch stops at, or an interruption
    bool shortOf = false;     // failed for want of memory or descriptors, which fewer threads
                              // may spare
    std::string bytes;        // the picture, while it waits to be written
    std::string caption;      // under the barcode, on a document's page
    std::int32_t copies = 1;  // pages or labels of it, in a document
    // A document's drawing (its file path is empty), width x height pixels.
    std::shared_ptr<const LabelRecording> recording;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::string> warnings;
    std::vector<RunNote> runNotes;  // the batch says each kind once
};

// The files a batch's records name from the list's cells, each known by its key
// (BatchFiles::Key), so that two spellings of one file are one. A file an earlier record
// took fails the later record instead of overwriting its file; whether the earlier one took
// it is known only when it is reported, so a record whose name was seen before waits for
// that, and is written when it is reported.
class TakenNames {
  public:
    // In reading order: whether an earlier record had the name.
    bool SeenBefore(const std::string& key);
    // A record before --from whose file is on disk: the name is taken.
    void TakeSkipped(const std::string& key, std::int64_t number);
    // In reporting order, for a drawn record: the earlier record whose file it is, or 0,
    // and then the name is the record's.
    std::int64_t Take(const std::string& key, std::int64_t number);
    // In reporting order: the record whose file it is so far, or 0.
    std::int64_t Owner(const std::string& key);

  private:
    std::mutex mutex_;                                      // reading and reporting run at once
    std::unordered_map<std::string, std::int64_t> owners_;  // 0 while no record wrote it
};

// Names each record read: its file, or why it cannot be drawn. An empty row gets neither.
class RecordNamer {
  public:
    RecordNamer(const OutputPattern& pattern, TakenNames& names, BatchFiles& files)
        : pattern_(pattern), names_(names), files_(files) {}
    RecordJob Name(BatchRecord record);
    // A record before --from: read, not drawn; a file of it on disk keeps its name taken.
    void Skip(const BatchRecord& record);

  private:
    const OutputPattern& pattern_;
    TakenNames& names_;
    BatchFiles& files_;
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

// Writes records' files. One per thread.
class FileWriting {
  public:
    FileWriting(FileWriter write, std::string fixedFolder)
        : write_(std::move(write)), fixedFolder_(std::move(fixedFolder)) {}
    // Writes the job's file; else sets its failure and whether it stops the batch.
    void Write(RecordJob& job, std::string_view bytes);

  private:
    bool EveryLaterRecordFails(const std::error_code& error) const;

    FileWriter write_;
    std::string fixedFolder_;
};

// Lets records be drawn on many threads at once, or on one alone while the others wait: a
// record that failed for want of memory or descriptors is drawn again so.
class DrawingGate {
  public:
    void Enter();
    void Leave();
    // Runs work once no record is being drawn, keeping the others waiting meanwhile.
    void Alone(const std::function<void()>& work);

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int drawing_ = 0;
    bool alone_ = false;
};

// Draws the records of one thread and writes their files.
class RecordWorker {
  public:
    RecordWorker(RenderOptions options, bool besideOthers, FileWriting files, DrawingGate& gate)
        : renderer_(std::move(options), besideOthers), files_(std::move(files)), gate_(gate) {}
    // Draws and writes the record, unless it failed already or comes after the stop or an
    // interruption (then skipped).
    void Work(RecordJob& job, StopMark& stop);
    // Draws and writes the record again after a failure for want of memory or descriptors;
    // the caller keeps other records from being drawn meanwhile (DrawingGate::Alone).
    void Again(RecordJob& job, StopMark& stop);

  private:
    void Draw(RecordJob& job, StopMark& stop);

    BarcodeRenderer renderer_;
    FileWriting files_;
    DrawingGate& gate_;
};

// The drawing threads' workers, each made on its thread's first chunk, so that a thread the
// system could not start costs no memory. A thread that cannot make its worker for want of
// memory leaves its records to be drawn again alone (RecordJob::shortOf).
class RecordWorkers {
  public:
    // Makes the first worker: raises its failed call (the caption's font cannot be read).
    RecordWorkers(std::size_t threads, RenderOptions options, const FileWriter& write,
                  const std::string& fixedFolder);
    void Work(std::size_t thread, RecordJob& job, StopMark& stop);
    // The first thread's worker, which draws records again alone.
    RecordWorker& First() { return *workers_.front(); }
    DrawingGate& Gate() { return gate_; }

  private:
    RecordWorker* Of(std::size_t thread);

    RenderOptions options_;
    FileWriter write_;
    std::string fixedFolder_;
    DrawingGate gate_;
    std::deque<std::optional<RecordWorker>> workers_;
};

}  // namespace qv::cli
