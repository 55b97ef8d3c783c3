#include "symbology/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "component/FailedCall.h"

namespace qv::symbology {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, int error) {
    throw component::FailedCall(component::FailureReason::PlatformFailure,
                                path.string() + ": " + std::strerror(error));
}

// mkstemp creates files readable by the owner only; a written image should get the mode
// any other new file of the process gets. The umask is read, not set, so that other
// threads creating files at the same moment are not affected.
mode_t NewFileMode() {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0) {
            mask = static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
            break;
        }
    }
    return 0666 & ~mask;
}

// The temporary being written, kept where a signal handler can reach it without
// allocating or locking. One at a time: the program writes its files one after another.
char unfinishedName[4096];
std::atomic<bool> hasUnfinished{false};

void NoteUnfinished(const std::string& name) {
    if (name.size() >= sizeof unfinishedName) return;
    std::memcpy(unfinishedName, name.c_str(), name.size() + 1);
    hasUnfinished.store(true);
}

// The temporary file: closed and, unless kept, removed when it goes out of scope.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::filesystem::path& target) {
        const std::filesystem::path directory =
            target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
        // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "." + string.
        std::string leaf = ".";
        leaf += target.filename().string();
        leaf += ".XXXXXX";
        name_ = (directory / leaf).string();
        descriptor_ = mkstemp(name_.data());
        if (descriptor_ < 0) {
            name_.clear();
            Fail(target, errno);
        }
        NoteUnfinished(name_);
    }
    ~TemporaryFile() {
        hasUnfinished.store(false);
        Close();
        if (!name_.empty()) {
            unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int descriptor() const { return descriptor_; }
    const std::string& name() const { return name_; }
    // Returns 0 or the error of closing, which for some file systems is the write error.
    int Close() {
        if (descriptor_ < 0) {
            return 0;
        }
        const int result = close(descriptor_);
        descriptor_ = -1;
        return result == 0 ? 0 : errno;
    }
    void Keep() {
        hasUnfinished.store(false);
        name_.clear();
    }

  private:
    std::string name_;
    int descriptor_ = -1;
};

int WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    if (path.empty() || !path.has_filename()) {
        Fail(path, EISDIR);
    }
    TemporaryFile temporary(path);
    struct stat existing {};
    const bool replacing = stat(path.c_str(), &existing) == 0;
    const mode_t mode = replacing ? (existing.st_mode & 07777) : NewFileMode();
    if (fchmod(temporary.descriptor(), mode) != 0) {
        Fail(path, errno);
    }
    if (const int error = WriteAll(temporary.descriptor(), bytes); error != 0) {
        Fail(path, error);
    }
    // When a file is replaced its data must be on disk before the name points at it, or a
    // crash could leave an empty file where the old one was. A new file has nothing to lose,
    // and syncing every one would make a batch of thousands wait on the disk.
    if (replacing && fsync(temporary.descriptor()) != 0) {
        Fail(path, errno);
    }
    if (const int error = temporary.Close(); error != 0) {
        Fail(path, error);
    }
    if (rename(temporary.name().c_str(), path.c_str()) != 0) {
        Fail(path, errno);
    }
    temporary.Keep();
}

void RemoveUnfinishedFile() noexcept {
    if (hasUnfinished.exchange(false)) unlink(unfinishedName);
}

}  // namespace qv::symbology
