// SPDX-License-Identifier: MIT
#include "imagefile/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/FailedCall.h"

namespace qv::imagefile {

namespace {

// A temporary's name: six letters spread from the process id and a counter, so that
// writers seldom collide; a name that is taken all the same is retried with the next.
std::string TemporaryLeaf(const std::filesystem::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static const unsigned process = static_cast<unsigned>(getpid());
    unsigned value = process * 2654435761u + counter++ * 40503u + attempt;
    std::string leaf = ".";
    leaf += target.filename().string();
    leaf += '.';
    for (int i = 0; i < 6; ++i, value /= 36) leaf += kLetters[value % 36];
    return leaf;
}

// The temporaries being written, kept where a signal handler can reach them without
// allocating or locking: each write in progress holds a slot of its own, so that threads
// writing at once do not hide one another's. Pages of slots never used are never touched.
struct UnfinishedSlot {
    enum State : int { kFree, kClaimed, kNamed };
    std::atomic<int> state{kFree};
    char name[PATH_MAX];
};
UnfinishedSlot unfinished[256];

// The slot now holding name, or none when every slot is taken (the temporary is then left
// to a signal, as it is the rarer path of writing anyway).
UnfinishedSlot* NoteUnfinished(const std::string& name) {
    if (name.size() >= sizeof unfinished[0].name) return nullptr;
    for (UnfinishedSlot& slot : unfinished) {
        int expected = UnfinishedSlot::kFree;
        if (slot.state.compare_exchange_strong(expected, UnfinishedSlot::kClaimed)) {
            std::memcpy(slot.name, name.c_str(), name.size() + 1);
            slot.state.store(UnfinishedSlot::kNamed);
            return &slot;
        }
    }
    return nullptr;
}

// The temporary file: closed and, unless kept, removed when it goes out of scope.
class TemporaryFile {
  public:
    // Check error() before anything else: a temporary that could not be made has none.
    explicit TemporaryFile(const std::filesystem::path& target) {
        const std::filesystem::path directory =
            target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
        // Created with the mode any new file of the process gets: the kernel applies the
        // umask, so nothing needs reading or changing afterwards.
        for (unsigned attempt = 0;; ++attempt) {
            name_ = (directory / TemporaryLeaf(target, attempt)).string();
            descriptor_ = open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor_ >= 0) break;
            if (errno != EEXIST || attempt == 100) {
                error_ = errno;
                name_.clear();
                return;
            }
        }
        slot_ = NoteUnfinished(name_);
    }
    ~TemporaryFile() {
        Release();
        Close();
        if (!name_.empty()) {
            unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int error() const { return error_; }
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
        Release();
        name_.clear();
    }

  private:
    void Release() {
        if (slot_ != nullptr) slot_->state.store(UnfinishedSlot::kFree);
        slot_ = nullptr;
    }

    std::string name_;
    int descriptor_ = -1;
    int error_ = 0;
    UnfinishedSlot* slot_ = nullptr;
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

// A closed descriptor whatever way the scope is left.
class Descriptor {
  public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }

  private:
    int descriptor_;
};

// Not written yet: the caller replaces the file through a named temporary.
constexpr int kReplace = -1;

// Whether linkat by the descriptor itself was refused: older kernels allow it only to
// processes with a capability most lack. Once refused, it is not tried again.
std::atomic<bool> descriptorLinkRefused{false};

// Gives the unnamed file its name; false with errno set when it cannot. By the descriptor
// where allowed, which spares the kernel a path through /proc: a sixth of a batch file's
// system time on tmpfs.
bool LinkDescriptor(int descriptor, const std::filesystem::path& path) {
    if (!descriptorLinkRefused.load(std::memory_order_relaxed)) {
        if (linkat(descriptor, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return true;
        if (errno != ENOENT && errno != EPERM) return false;
        descriptorLinkRefused.store(true, std::memory_order_relaxed);
    }
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", descriptor);
    return linkat(AT_FDCWD, self, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// A new file is written as an unnamed one in the target directory and given its name once
// complete: no temporary name to pick, rename or clean up, and a program that dies mid-write
// leaves nothing. 0 when written; kReplace when the name is taken (the caller replaces it)
// or the file system cannot make unnamed files; else the error.
int WriteNewFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path directory =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const Descriptor file(open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return kReplace;
        return errno;
    }
    if (const int error = WriteAll(file.get(), bytes); error != 0) return error;
    // Only local file systems make unnamed files, and they report a full disk at write, so
    // the name can be given before the descriptor is closed.
    if (LinkDescriptor(file.get(), path)) return 0;
    if (errno == EEXIST || errno == ENOENT) return kReplace;  // ENOENT: no /proc to link from
    return errno;
}

int ReplaceFile(const std::filesystem::path& path, std::string_view bytes) {
    TemporaryFile temporary(path);
    if (temporary.error() != 0) {
        return temporary.error();
    }
    struct stat existing {};
    const bool replacing = stat(path.c_str(), &existing) == 0;
    if (replacing && fchmod(temporary.descriptor(), existing.st_mode & 07777) != 0) {
        return errno;
    }
    if (const int error = WriteAll(temporary.descriptor(), bytes); error != 0) {
        return error;
    }
    // When a file is replaced its data must be on disk before the name points at it, or a
    // crash could leave an empty file where the old one was. A new file has nothing to lose,
    // and syncing every one would make a batch of thousands wait on the disk.
    if (replacing && fsync(temporary.descriptor()) != 0) {
        return errno;
    }
    if (const int error = temporary.Close(); error != 0) {
        return error;
    }
    if (rename(temporary.name().c_str(), path.c_str()) != 0) {
        return errno;
    }
    temporary.Keep();
    return 0;
}

}  // namespace

std::error_code TryWriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    int error = EISDIR;
    if (!path.empty() && path.has_filename()) {
        error = WriteNewFile(path, bytes);
        if (error == kReplace) error = ReplaceFile(path, bytes);
    }
    return error == 0 ? std::error_code() : std::error_code(error, std::generic_category());
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    if (const std::error_code error = TryWriteFileAtomically(path, bytes)) {
        throw host::FailedCall(host::FailureReason::PlatformFailure,
                               path.string() + ": " + error.message());
    }
}

void RemoveUnfinishedFile() noexcept {
    for (UnfinishedSlot& slot : unfinished) {
        int expected = UnfinishedSlot::kNamed;
        if (slot.state.compare_exchange_strong(expected, UnfinishedSlot::kFree)) {
            unlink(slot.name);
        }
    }
}

}  // namespace qv::imagefile
