// SPDX-License-Identifier: MIT
#include "commands/PrintedDocument.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/FileDescriptor.h>
#include "options/ExitStatus.h"
#include "options/TerminalText.h"
#include "output/PrintQueue.h"

namespace qv::cli {

namespace {

constexpr double kMillimetresPerPoint = 25.4 / 72;

// A file's bytes mapped for reading, so that a document of any size is sent as it lies.
class MappedFile {
  public:
    explicit MappedFile(const std::string& path) {
        const host::FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat status {};
        if (file.get() < 0 || fstat(file.get(), &status) != 0) {
            failure_ = "cannot read " + path + ": " + std::strerror(errno);
            return;
        }
        size_ = static_cast<std::size_t>(status.st_size);
        if (size_ == 0) return;
        data_ = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, file.get(), 0);
        if (data_ == MAP_FAILED) {
            data_ = nullptr;
            failure_ = "cannot read " + path + ": " + std::strerror(errno);
        }
    }
    ~MappedFile() {
        if (data_ != nullptr) munmap(data_, size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view Bytes() const {
        return data_ == nullptr ? std::string_view{}
                                : std::string_view(static_cast<const char*>(data_), size_);
    }
    const std::string& Failure() const { return failure_; }

  private:
    void* data_ = nullptr;
    std::size_t size_ = 0;
    std::string failure_;
};

// The barcode's text, or the list's name, as the queue shows the job.
std::string JobTitle(const Options& options) {
    if (options.settings.text) return *options.settings.text;
    if (!options.batchInput.empty() && options.batchInput != "-") return options.batchInput;
    return "qvbarcode";
}

}  // namespace

PrintSpool::PrintSpool(const Options& options) : options_(options) {
    if (!options_.printQueue || !options_.oneDocument || !options_.output.empty()) return;
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern =
        std::string(temporary != nullptr && *temporary != '\0' ? temporary : "/tmp") +
        "/qvbarcode-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               "cannot make a folder for the document to print: " + pattern + ": " +
                                   std::strerror(errno));
    }
    folder_ = pattern;
    options_.output =
        folder_ + (options_.format == OutputFormat::Ps ? "/labels.ps" : "/labels.pdf");
}

PrintSpool::~PrintSpool() {
    std::error_code ignored;  // what cannot be removed stays in TMPDIR, as any temporary
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

int PrintFinishedDocument(const Options& options, const BatchDocument& document) {
    const MappedFile file(document.Path());
    if (!file.Failure().empty()) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(file.Failure()).c_str());
        return kExitUsage;
    }
    const auto [width, height] = document.Pages().Media();
    if (document.Pages().MixedSizes()) {
        std::fprintf(stderr,
                     "qvbarcode: warning: the labels differ in size: the printer's media is "
                     "the largest, %s\n",
                     MillimetreSize(width, height).c_str());
    }
    const PrintJob job{file.Bytes(),
                       document.Kind(),
                       width * kMillimetresPerPoint,
                       height * kMillimetresPerPoint,
                       1,
                       JobTitle(options)};
    const PrintResult printed = PrintDocument(*options.printQueue, job);
    if (!printed.failure.empty()) {
        std::fprintf(stderr, "qvbarcode: %s\n", TerminalText(printed.failure).c_str());
        return kExitUsage;
    }
    std::fprintf(stdout, "sent to printer queue %s as job %d\n",
                 TerminalText(printed.queue).c_str(), printed.jobId);
    return kExitDrawn;
}

}  // namespace qv::cli
