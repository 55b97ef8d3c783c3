// SPDX-License-Identifier: MIT
#include "output/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/imagefile/AtomicFile.h>

namespace qv::cli {

namespace {

namespace fs = std::filesystem;

// The temporary beside the target that every file the program writes has, so that a later
// batch removes one that a killed run left; the folders on the way are made first.
std::FILE* OpenTemporary(const std::string& path, std::string& name) {
    const fs::path target(path);
    std::error_code ignored;  // a folder that cannot be made fails the open, which says why
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ignored);
    const int descriptor = imagefile::OpenTemporaryBeside(AT_FDCWD, target, name);
    std::FILE* file = descriptor < 0 ? nullptr : fdopen(descriptor, "wb");
    if (file == nullptr && descriptor >= 0) close(descriptor);
    return file;
}

// What must not be replaced at path (a device or FIFO, a link to one, a link into /proc),
// opened to be written through as a single drawing's is. Null with error 0 for a path to be
// written as a file; null with error set for one refused or not opened.
std::FILE* OpenSpecial(const std::string& path, int& error) {
    const imagefile::PathTarget target = imagefile::TargetAt(AT_FDCWD, path);
    error = target.error;
    switch (target.use) {
        case imagefile::TargetUse::Replace:
            return nullptr;
        case imagefile::TargetUse::Refuse:
            error = S_ISDIR(target.status.st_mode) ? EISDIR : EOPNOTSUPP;
            return nullptr;
        case imagefile::TargetUse::WriteThrough:
        case imagefile::TargetUse::AppendThrough:
            break;
    }
    if (error != 0) return nullptr;
    const int opened = open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
    std::FILE* file = opened < 0 ? nullptr : fdopen(opened, "wb");
    if (file == nullptr) error = errno;
    if (file == nullptr && opened >= 0) close(opened);
    return file;
}

}  // namespace

DocumentFile::DocumentFile(std::string path) : path_(std::move(path)) {
    int error = 0;
    file_ = OpenSpecial(path_, error);
    if (file_ == nullptr && error == 0) {
        file_ = OpenTemporary(path_, temporary_);
        if (file_ == nullptr) error = errno;
    }
    if (file_ == nullptr) {
        throw host::FailedCall(
            host::FailureReason::PlatformFailure,
            "cannot write " + path_ + ": " +
                WriteFailureText(path_, std::error_code(error, std::generic_category())));
    }
}

DocumentFile::~DocumentFile() {
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty()) unlink(temporary_.c_str());
}

bool DocumentFile::Write(std::string_view bytes) {
    if (error_ == 0 && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        error_ = errno != 0 ? errno : EIO;
    }
    written_ += static_cast<std::int64_t>(bytes.size());
    return error_ == 0;
}

std::optional<FileFailure> DocumentFile::Finish(const std::string& extra) {
    if (std::fflush(file_) != 0 && error_ == 0) error_ = errno;
    const bool throughTarget = temporary_.empty();
    if (error_ == 0 && !throughTarget && fsync(fileno(file_)) != 0) error_ = errno;
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0 && error_ == 0) error_ = errno;
    if (error_ == 0 && !extra.empty()) {
        return FileFailure{path_ + ": " + extra, std::make_error_code(std::errc::io_error)};
    }
    if (error_ == 0 && !throughTarget && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        error_ = errno;
    }
    if (error_ != 0) {
        return FileFailure{"cannot write " + path_ + ": " + std::strerror(error_),
                           std::error_code(error_, std::generic_category())};
    }
    if (throughTarget) return std::nullopt;
    temporary_.clear();
    // The contents are synced above; the name the rename gave them is not yet.
    return PutOnDisk(FolderOf(path_), path_);
}

}  // namespace qv::cli
