// SPDX-License-Identifier: MIT
#include "pipeline/BatchWork.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <new>

#include "host/FailedCall.h"
#include "output/FailureText.h"

namespace qv::cli {

namespace fs = std::filesystem;

bool TakenNames::SeenBefore(const std::string& path) {
    const std::lock_guard lock(mutex_);
    return !owners_.try_emplace(path, 0).second;
}

void TakenNames::TakeSkipped(const std::string& path, std::int64_t number) {
    const std::lock_guard lock(mutex_);
    owners_.try_emplace(path, number);
}

std::int64_t TakenNames::Take(const std::string& path, std::int64_t number) {
    const std::lock_guard lock(mutex_);
    std::int64_t& owner = owners_[path];
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
    job.writeWhenDue = pattern_.NamesColumns() && names_.SeenBefore(name.path);
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
        names_.TakeSkipped(name.path, record.number);
    }
}

void StopMark::At(std::int64_t number) {
    std::int64_t first = Get();
    while (number < first && !first_.compare_exchange_weak(first, number)) {
    }
}

void FileWriting::Write(RecordJob& job, std::string_view bytes) {
    std::optional<FileFailure> failure = MakeFolderFor(job.path);
    if (!failure) {
        failure = write_(job.path, bytes);
    }
    if (failure) {
        job.failure = std::move(failure->message);
        job.stops = EveryLaterRecordFails(failure->error);
    }
}

std::optional<FileFailure> FileWriting::MakeFolderFor(const std::string& path) {
    // Compared as text: most files go into the folder of the one before.
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0 ||
        std::string_view(path).substr(0, slash) == lastFolder_) {
        return std::nullopt;
    }
    const fs::path folder = path.substr(0, slash);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        return FileFailure{"cannot make the folder " + folder.string() + ": " + error.message(),
                           error};
    }
    lastFolder_.assign(path, 0, slash);
    return std::nullopt;
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
        case EROFS:
            return true;
        case EACCES:
        case EPERM:
            return access(fixedFolder_.c_str(), W_OK | X_OK) != 0;
        default:
            return false;
    }
}

void RecordWorker::Work(RecordJob& job, StopMark& stop) {
    if (!job.failure.empty() || job.record.empty) {
        return;
    }
    if (stop.IsAfter(job.record.number)) {
        job.skipped = true;
        return;
    }
    Drawing drawing;
    try {
        drawing = renderer_.Render(*job.record.settings);
    } catch (const host::FailedCall& failure) {
        job.failure = FailedCallLine(failure);
        return;
    } catch (const std::bad_alloc&) {
        job.failure = "failed call: out of memory";
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
    if (job.writeWhenDue) {
        job.bytes = std::move(drawing.bytes);
        return;
    }
    files_.Write(job, drawing.bytes);
    if (job.stops) {
        stop.At(job.record.number);
    }
}

}  // namespace qv::cli
