// SPDX-License-Identifier: MIT
#include "output/LabelDocument.h"

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/imagefile/AtomicFile.h>
#include <qvbarcode/imagefile/DocumentDate.h>

namespace qv::cli {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDate = "%%CreationDate: ";
constexpr std::string_view kEndComments = "%%EndComments";

// ".NAME.abc123" beside the target: six lowercase letters and digits, as the temporaries of
// every file the program writes, so that a later batch removes one that a killed run left.
std::FILE* OpenTemporary(const std::string& path, std::string& name) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const fs::path target(path);
    std::error_code ignored;  // a folder that cannot be made fails the open, which says why
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ignored);
    unsigned value = static_cast<unsigned>(getpid()) * 2654435761u;
    for (int attempt = 0; attempt < 100; ++attempt, value = value * 40503u + 7u) {
        std::string leaf = "." + target.filename().string() + ".";
        for (unsigned v = value, i = 0; i < 6; ++i, v /= 36) leaf += kLetters[v % 36];
        name = (target.parent_path() / leaf).string();
        const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) return fdopen(descriptor, "wb");
        if (errno != EEXIST) break;
    }
    name.clear();
    return nullptr;
}

// The device or FIFO at path (or at the end of a link there), opened to be written through
// as a single drawing's is: replacing it would break whatever else uses it. Null with error
// 0 for a path to be written as a file; null with error set for one refused or not opened.
std::FILE* OpenSpecial(const std::string& path, int& error) {
    error = 0;
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) return nullptr;
    struct stat reached {};
    if (S_ISLNK(status.st_mode) && stat(path.c_str(), &reached) == 0) status = reached;
    switch (imagefile::UseOfTarget(status.st_mode)) {
        case imagefile::TargetUse::Replace:
            return nullptr;
        case imagefile::TargetUse::Refuse:
            error = S_ISDIR(status.st_mode) ? EISDIR : EOPNOTSUPP;
            return nullptr;
        case imagefile::TargetUse::WriteThrough:
            break;
    }
    const int descriptor = open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    std::FILE* file = descriptor < 0 ? nullptr : fdopen(descriptor, "wb");
    if (file == nullptr) error = errno;
    if (file == nullptr && descriptor >= 0) close(descriptor);
    return file;
}

}  // namespace

LabelDocument::LabelDocument(std::string path, DocumentKind kind)
    : path_(std::move(path)), kind_(kind) {
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
    const std::int64_t made = imagefile::DocumentSeconds(std::getenv("SOURCE_DATE_EPOCH"));
    // The first page's size, which every page sets again.
    if (kind_ == DocumentKind::Pdf) {
        document_ = cairo_pdf_surface_create_for_stream(Write, this, 72, 72);
        cairo_pdf_surface_set_metadata(document_, CAIRO_PDF_METADATA_CREATE_DATE,
                                       imagefile::PdfDate(made).c_str());
    } else {
        document_ = cairo_ps_surface_create_for_stream(Write, this, 72, 72);
        date_ = imagefile::PostScriptDate(made);
    }
    cr_ = cairo_create(document_);
    if (const cairo_status_t status = cairo_status(cr_); status != CAIRO_STATUS_SUCCESS) {
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               path_ + ": " + cairo_status_to_string(status));
    }
}

LabelDocument::~LabelDocument() {
    cairo_destroy(cr_);
    cairo_surface_destroy(document_);
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty()) unlink(temporary_.c_str());
}

cairo_t* LabelDocument::NewPage(double width, double height) {
    if (pages_++ > 0) cairo_show_page(cr_);
    if (kind_ == DocumentKind::Pdf) {
        cairo_pdf_surface_set_size(document_, width, height);
    } else {
        cairo_ps_surface_set_size(document_, width, height);
    }
    return cr_;
}

cairo_status_t LabelDocument::Write(void* closure, const unsigned char* data, unsigned int length) {
    auto* self = static_cast<LabelDocument*>(closure);
    self->Pass({reinterpret_cast<const char*>(data), length});
    return self->error_ == 0 ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// Cairo dates PostScript's comments by the clock: they are held until they end and dated
// as the document is.
void LabelDocument::Pass(std::string_view bytes) {
    if (kind_ == DocumentKind::PostScript && !date_.empty()) {
        header_.append(bytes);
        if (header_.find(kEndComments) == std::string::npos) return;
        if (const auto at = header_.find(kDate); at != std::string::npos) {
            const auto from = at + kDate.size();
            header_.replace(from, header_.find('\n', from) - from, date_);
        }
        date_.clear();
        bytes = header_;
    }
    if (error_ == 0 && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        error_ = errno != 0 ? errno : EIO;
    }
    header_.clear();
}

std::optional<FileFailure> LabelDocument::Finish() {
    if (pages_ > 0) cairo_show_page(cr_);
    cairo_surface_finish(document_);
    const cairo_status_t status = cairo_surface_status(document_);
    if (std::fflush(file_) != 0 && error_ == 0) error_ = errno;
    const bool throughTarget = temporary_.empty();
    if (error_ == 0 && !throughTarget && fsync(fileno(file_)) != 0) error_ = errno;
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0 && error_ == 0) error_ = errno;
    if (error_ == 0 && status != CAIRO_STATUS_SUCCESS) {
        return FileFailure{path_ + ": " + cairo_status_to_string(status),
                           std::make_error_code(std::errc::io_error)};
    }
    if (error_ == 0 && !throughTarget && std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        error_ = errno;
    }
    if (error_ != 0) {
        return FileFailure{"cannot write " + path_ + ": " + std::strerror(error_),
                           std::error_code(error_, std::generic_category())};
    }
    temporary_.clear();
    // The contents are synced above; the name the rename gave them is not yet.
    return PutOnDisk(FolderOf(path_), path_);
}

}  // namespace qv::cli
