// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "output/FileAccess.h"
#include "pipeline/BatchWork.h"
#include "pipeline/Progress.h"

namespace qv::cli {

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

    // In reading order; worker draws a record again when it must.
    void Record(RecordJob& job, RecordWorker& worker);
    // A batch into one document: each record drawn goes onto its pages in reading order;
    // place says why one cannot, which fails it.
    void PlaceDrawn(std::function<std::string(RecordJob&)> place) { place_ = std::move(place); }

    // The last record seen, 0 before the first.
    std::int64_t Reported() const { return reported_; }
    // For a batch ended early (why: "interrupted"), one line with the record to resume
    // from: the first not written, the next unread one (0 when the list was read to its
    // end) if every record read was. Nothing when a stop said it already.
    void Ended(const char* why, std::int64_t nextUnread);
    // The summary line, after the reasons the files may not all be there; the exit status.
    int Summary(bool listRead, const std::optional<FileFailure>& unsynced);

  private:
    void Again(RecordJob& job, const std::function<void()>& again);
    void Stop(const RecordJob& job);
    std::string EarlierFileLeft(const RecordJob& job);
    void Say(const BatchRecord& record, const std::string& message, const char* lead = "");

    Progress progress_;
    TakenNames* names_;
    FileWriting files_;
    StopMark& stop_;
    DrawingGate& gate_;
    std::atomic<std::size_t>& threads_;
    std::function<std::string(RecordJob&)> place_;
    std::int64_t drawn_ = 0;
    std::int64_t failed_ = 0;
    std::int64_t empty_ = 0;
    std::int64_t stoppedAt_ = 0;
    std::int64_t resumeAt_ = 0;
    std::int64_t reported_ = 0;
    std::array<bool, RunNote::ReductionRounded + 1> said_{};  // each kind of note, once
};

}  // namespace qv::cli
