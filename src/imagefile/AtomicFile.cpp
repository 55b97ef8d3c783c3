#include "imagefile/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "host/FailedCall.h"

namespace qv::imagefile {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, int error) {
    throw host::FailedCall(host::FailureReason::PlatformFailure,
                           path.string() + ": " + std::strerror(error));
}

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
        // Created with the mode any new file of the process gets: the kernel applies the
        // umask, so nothing needs reading or changing afterwards.
        for (unsigned attempt = 0;; ++attempt) {
            name_ = (directory / TemporaryLeaf(target, attempt)).string();
            descriptor_ = open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor_ >= 0) break;
            if (errno != EEXIST || attempt == 100) {
                const int error = errno;
                name_.clear();
                Fail(target, error);
            }
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

// A new file is written as an unnamed one in the target directory and given its name once
// complete: no temporary name to pick, rename or clean up, and a program that dies mid-write
// leaves nothing. False when the name is taken (the caller replaces it) or the file system
// cannot make unnamed files.
bool WriteNewFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path directory =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const Descriptor file(open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return false;
        Fail(path, errno);
    }
    if (const int error = WriteAll(file.get(), bytes); error != 0) Fail(path, error);
    // Only local file systems make unnamed files, and they report a full disk at write, so
    // the name can be given before the descriptor is closed.
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    if (errno == EEXIST || errno == ENOENT) return false;  // ENOENT: no /proc to link from
    Fail(path, errno);
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    if (path.empty() || !path.has_filename()) {
        Fail(path, EISDIR);
    }
    if (WriteNewFile(path, bytes)) return;
    TemporaryFile temporary(path);
    struct stat existing {};
    const bool replacing = stat(path.c_str(), &existing) == 0;
    if (replacing && fchmod(temporary.descriptor(), existing.st_mode & 07777) != 0) {
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

}  // namespace qv::imagefile
