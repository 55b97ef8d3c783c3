// SPDX-License-Identifier: MIT
#include "pipeline/BatchWork.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <new>

#include <qvbarcode/host/FailedCall.h>
#include "output/FailureText.h"
#include "pipeline/Interruption.h"

namespace qv::cli {

namespace fs = std::filesystem;

bool TakenNames::SeenBefore(const std::string& key) {
    const std::lock_guard lock(mutex_);
    return !owners_.try_emplace(key, 0).second;
}

void TakenNames::TakeSkipped(const std::string& key, std::int64_t number) {
    const std::lock_guard lock(mutex_);
    owners_.try_emplace(key, number);
}

std::int64_t TakenNames::Take(const std::string& key, std::int64_t number) {
    const std::lock_guard lock(mutex_);
    std::int64_t& owner = owners_[key];
    if (owner != 0) {
        return owner;
    }
    owner = number;
    return 0;
}

std::int64_t TakenNames::Owner(const std::string& path) {
    const std::lock_guard lock(mutex_);
    const auto owner = owners_.find(path);
    return owner == owners_.end() ? 0 : owner->second;
}

RecordJob RecordNamer::Name(BatchRecord record) {
    RecordJob job;
    job.record = std::move(record);
    if (job.record.empty) {
        return job;
    }
    if (!job.record.settings) {
        job.failure = job.record.error;
        return job;
    }
    if (!job.record.settings->barCodeType) {
        job.failure = "no barcode type: give -t TYPE or a BarCodeType column";
        return job;
    }
    OutputPattern::Name name =
        pattern_.Expand(job.record.number, job.record.text, job.record.cells);
    if (!name.error.empty()) {
        job.failure = std::move(name.error);
        return job;
    }
    // Numbered names are unique by themselves; only names from the data are remembered.
    if (pattern_.NamesColumns()) {
        job.key = files_.Key(name.path);
        job.writeWhenDue = names_.SeenBefore(job.key);
    }
    job.path = std::move(name.path);
    return job;
}

void RecordNamer::Skip(const BatchRecord& record) {
    if (!pattern_.NamesColumns() || !record.settings) {
        return;
    }
    const OutputPattern::Name name = pattern_.Expand(record.number, record.text, record.cells);
    std::error_code error;
    if (name.error.empty() && fs::exists(name.path, error)) {
        names_.TakeSkipped(files_.Key(name.path), record.number);
    }
}

void StopMark::At(std::int64_t number) {
    std::int64_t first = Get();
    while (number < first && !first_.compare_exchange_weak(first, number)) {
    }
}

void FileWriting::Write(RecordJob& job, std::string_view bytes) {
    if (std::optional<FileFailure> failure = write_(job.path, bytes)) {
        job.failure = std::move(failure->message);
        job.stops = EveryLaterRecordFails(failure->error);
        job.shortOf = failure->error == std::errc::too_many_files_open ||
                      failure->error == std::errc::too_many_files_open_in_system ||
                      failure->error == std::errc::not_enough_memory;
    }
}

// A full disk or quota and a read-only file system refuse every file; refused permission
// does when the folder every file goes into is not writable, and otherwise may be one
// folder's.
bool FileWriting::EveryLaterRecordFails(const std::error_code& error) const {
    if (error.category() != std::generic_category() && error.category() != std::system_category()) {
        return false;
    }
    switch (error.value()) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:  // a limit on the size of files (ulimit -f), which every file meets
        case EROFS:
            return true;
        case EACCES:
        case EPERM:
            return access(fixedFolder_.c_str(), W_OK | X_OK) != 0;
        default:
            return false;
    }
}

void DrawingGate::Enter() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !alone_; });
    ++drawing_;
}

void DrawingGate::Leave() {
    const std::lock_guard lock(mutex_);
    if (--drawing_ == 0 && alone_) changed_.notify_all();
}

void DrawingGate::Alone(const std::function<void()>& work) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !alone_; });
        alone_ = true;
        changed_.wait(lock, [this] { return drawing_ == 0; });
    }
    work();
    const std::lock_guard lock(mutex_);
    alone_ = false;
    changed_.notify_all();
}

void RecordWorker::Work(RecordJob& job, StopMark& stop) {
    if (!job.failure.empty() || job.record.empty) {
        return;
    }
    if (stop.IsAfter(job.record.number) || Interruption() != 0) {
        job.skipped = true;
        return;
    }
    gate_.Enter();
    Draw(job, stop);
    gate_.Leave();
}

void RecordWorker::Again(RecordJob& job, StopMark& stop) {
    job.failure.clear();
    job.shortOf = false;
    job.drawn = false;
    job.warnings.clear();
    Draw(job, stop);
}

void RecordWorker::Draw(RecordJob& job, StopMark& stop) {
    Drawing drawing;
    try {
        drawing = renderer_.Render(*job.record.settings, job.caption);
    } catch (const host::FailedCall& failure) {
        job.failure = FailedCallLine(failure);
        job.shortOf = IsShortOfMemory(failure);
        return;
    } catch (const std::bad_alloc&) {
        job.failure = "failed call: out of memory";
        job.shortOf = true;
        return;
    }
    if (drawing.Failed()) {
        job.failure = ResultCodeLine(drawing);
        return;
    }
    if (drawing.IsEmpty()) {
        job.failure = EmptyPictureLine(drawing);
        return;
    }
    if (!drawing.reductionRefusal.empty()) {
        job.failure = std::move(drawing.reductionRefusal);
        return;
    }
    job.drawn = true;
    job.warnings = std::move(drawing.warnings);
    job.runNotes = std::move(drawing.runNotes);
    if (job.path.empty()) {  // a page of the batch's document, which its report places
        job.recording = std::move(drawing.recording);
        job.width = drawing.width;
        job.height = drawing.height;
        return;
    }
    if (job.writeWhenDue) {
        job.bytes = std::move(drawing.bytes);
        return;
    }
    files_.Write(job, drawing.bytes);
    if (job.stops) {
        stop.At(job.record.number);
    }
}

RecordWorkers::RecordWorkers(std::size_t threads, RenderOptions options, const FileWriter& write,
                             const std::string& fixedFolder)
    : options_(std::move(options)), write_(write), fixedFolder_(fixedFolder), workers_(threads) {
    Of(0);
}

RecordWorker* RecordWorkers::Of(std::size_t thread) {
    std::optional<RecordWorker>& worker = workers_[thread];
    if (!worker) {
        worker.emplace(options_, thread > 0, FileWriting(write_, fixedFolder_), gate_);
    }
    return &*worker;
}

void RecordWorkers::Work(std::size_t thread, RecordJob& job, StopMark& stop) {
    RecordWorker* worker = nullptr;
    std::string failure;
    try {
        worker = Of(thread);
    } catch (const std::bad_alloc&) {
        failure = "failed call: out of memory";
    } catch (const host::FailedCall& failed) {
        // The first worker was made: this one lacks memory or descriptors for its font.
        failure = FailedCallLine(failed);
    }
    if (worker != nullptr) {
        worker->Work(job, stop);
    } else if (stop.IsAfter(job.record.number) || Interruption() != 0) {
        job.skipped = job.failure.empty();
    } else if (job.failure.empty()) {
        job.failure = std::move(failure);
        job.shortOf = true;
    }
}

}  // namespace qv::cli
