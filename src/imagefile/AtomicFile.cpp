// SPDX-License-Identifier: MIT
#include <qvbarcode/imagefile/AtomicFile.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <string>

#include <qvbarcode/host/FailedCall.h>
#include <qvbarcode/host/FileDescriptor.h>

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
// writing at once do not hide one another's. A slot points at its writer's own name, which
// stays as it is until the writer frees the slot.
struct UnfinishedSlot {
    enum State : int { kFree, kClaimed, kNamed };
    std::atomic<int> state{kFree};
    int folder = AT_FDCWD;
    const char* name = nullptr;
};
UnfinishedSlot unfinished[256];

// The slot now holding name, or none when every slot is taken (the temporary is then left
// to a signal, as it is the rarer path of writing anyway).
UnfinishedSlot* NoteUnfinished(int folder, const std::string& name) {
    for (UnfinishedSlot& slot : unfinished) {
        int expected = UnfinishedSlot::kFree;
        if (slot.state.compare_exchange_strong(expected, UnfinishedSlot::kClaimed)) {
            slot.folder = folder;
            slot.name = name.c_str();
            slot.state.store(UnfinishedSlot::kNamed);
            return &slot;
        }
    }
    return nullptr;
}

// The target a temporary's name stands for (".NAME.abc123" for NAME), or "" for a name that
// is no temporary's.
std::string_view TargetOfTemporary(std::string_view leaf) {
    constexpr std::size_t kTail = 7;  // '.' and six letters
    if (leaf.size() < 1 + 1 + kTail || leaf.front() != '.' || leaf[leaf.size() - kTail] != '.') {
        return {};
    }
    for (const char c : leaf.substr(leaf.size() - kTail + 1)) {
        if (!std::islower(static_cast<unsigned char>(c)) &&
            !std::isdigit(static_cast<unsigned char>(c))) {
            return {};
        }
    }
    return leaf.substr(1, leaf.size() - 1 - kTail);
}

// The temporary file: closed and, unless kept, removed when it goes out of scope. Its
// writer holds a lock on it, so that a later run tells a dead writer's temporary from one
// being written.
class TemporaryFile {
  public:
    // Check error() before anything else: a temporary that could not be made has none.
    TemporaryFile(int folder, const std::filesystem::path& target) : folder_(folder) {
        descriptor_ = OpenTemporaryBeside(folder, target, name_);
        if (descriptor_ < 0) {
            error_ = errno;
            return;
        }
        slot_ = NoteUnfinished(folder, name_);
    }
    ~TemporaryFile() {
        Release();
        Close();
        if (!name_.empty()) {
            unlinkat(folder_, name_.c_str(), 0);
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

    int folder_;
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

// Not written yet: the caller replaces the file through a named temporary.
constexpr int kReplace = -1;

// Whether linkat by the descriptor itself was refused: older kernels allow it only to
// processes with a capability most lack. Once refused, it is not tried again.
std::atomic<bool> descriptorLinkRefused{false};

// Gives the unnamed file its name; false with errno set when it cannot. By the descriptor
// where allowed, which spares the kernel a path through /proc: a sixth of a batch file's
// system time on tmpfs.
bool LinkDescriptor(int descriptor, int folder, const std::filesystem::path& path) {
    if (!descriptorLinkRefused.load(std::memory_order_relaxed)) {
        if (linkat(descriptor, "", folder, path.c_str(), AT_EMPTY_PATH) == 0) return true;
        if (errno != ENOENT && errno != EPERM) return false;
        descriptorLinkRefused.store(true, std::memory_order_relaxed);
    }
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", descriptor);
    return linkat(AT_FDCWD, self, folder, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// A new file is written as an unnamed one in the target directory and given its name once
// complete: no temporary name to pick, rename or clean up, and a program that dies mid-write
// leaves nothing. 0 when written; kReplace when the name is taken (the caller replaces it)
// or the file system cannot make unnamed files; else the error.
int WriteNewFile(int folder, const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path directory =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const host::FileDescriptor file(
        openat(folder, directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return kReplace;
        return errno;
    }
    if (const int error = WriteAll(file.get(), bytes); error != 0) return error;
    // Only local file systems make unnamed files, and they report a full disk at write, so
    // the name can be given before the descriptor is closed.
    if (LinkDescriptor(file.get(), folder, path)) return 0;
    if (errno == EEXIST || errno == ENOENT) return kReplace;  // ENOENT: no /proc to link from
    return errno;
}

int ReplaceFile(int folder, const std::filesystem::path& path, std::string_view bytes,
                const struct stat* existing, const MayReplace& mayReplace) {
    if (existing != nullptr && mayReplace && !mayReplace(*existing)) {
        return EEXIST;
    }
    TemporaryFile temporary(folder, path);
    if (temporary.error() != 0) {
        return temporary.error();
    }
    // A replaced file keeps its permissions (a link's target's, as before).
    struct stat kept {};
    if (existing != nullptr && fstatat(folder, path.c_str(), &kept, 0) == 0 &&
        fchmod(temporary.descriptor(), kept.st_mode & 07777) != 0) {
        return errno;
    }
    if (const int error = WriteAll(temporary.descriptor(), bytes); error != 0) {
        return error;
    }
    // When a file is replaced its data must be on disk before the name points at it, or a
    // crash could leave an empty file where the old one was.
    if (existing != nullptr && fsync(temporary.descriptor()) != 0) {
        return errno;
    }
    if (const int error = temporary.Close(); error != 0) {
        return error;
    }
    if (renameat(folder, temporary.name().c_str(), folder, path.c_str()) != 0) {
        return errno;
    }
    temporary.Keep();
    return 0;
}

// A device or FIFO takes the bytes as they come, as any program writing to it would give
// them: no truncation (a tape or terminal has none) and nothing to sync.
int WriteThrough(int folder, const std::filesystem::path& path, std::string_view bytes) {
    const host::FileDescriptor file(openat(folder, path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) return errno;
    struct stat opened {};
    // Opened by name a second time: what it names now must still be no regular file, or
    // the bytes would land on the front of one without truncating it.
    if (fstat(file.get(), &opened) != 0) return errno;
    if (UseOfTarget(opened.st_mode) != TargetUse::WriteThrough) return EEXIST;
    return WriteAll(file.get(), bytes);
}

// A link into /proc (/dev/stdout, /dev/stderr) names one of this process's descriptors, and
// replacing it would put a plain file in /dev for every program. Its bytes go where the
// descriptor goes, appended to a file, so that a shell's `>>` keeps what it holds.
bool NamesADescriptor(int folder, const std::filesystem::path& path) {
    char text[7] = {};
    const ssize_t length = readlinkat(folder, path.c_str(), text, sizeof text - 1);
    return length == 6 && std::string_view(text, 6) == "/proc/";
}

int AppendThrough(int folder, const std::filesystem::path& path, std::string_view bytes) {
    const host::FileDescriptor file(
        openat(folder, path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) return errno;
    return WriteAll(file.get(), bytes);
}

// What is at path decides: nothing or a file is replaced (a failed new file's error
// otherwise stands), a device or FIFO written through, anything else refused.
int WriteOverTarget(int folder, const std::filesystem::path& path, std::string_view bytes,
                    const MayReplace& mayReplace, int newFileError) {
    const PathTarget target = TargetAt(folder, path);
    if (target.error != 0) return target.error;
    switch (target.use) {
        case TargetUse::Replace:
            return newFileError == kReplace
                       ? ReplaceFile(folder, path, bytes, target.exists ? &target.status : nullptr,
                                     mayReplace)
                       : newFileError;
        case TargetUse::WriteThrough:
        case TargetUse::AppendThrough:
            if (mayReplace && !mayReplace(target.status)) return EEXIST;
            return target.use == TargetUse::AppendThrough ? AppendThrough(folder, path, bytes)
                                                          : WriteThrough(folder, path, bytes);
        case TargetUse::Refuse:
            break;
    }
    return S_ISDIR(target.status.st_mode) ? EISDIR : EOPNOTSUPP;
}

}  // namespace

int OpenTemporaryBeside(int folder, const std::filesystem::path& target, std::string& name) {
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    // Created with the mode any new file of the process gets: the kernel applies the umask,
    // so nothing needs reading or changing afterwards.
    for (unsigned attempt = 0;; ++attempt) {
        name = (directory / TemporaryLeaf(target, attempt)).string();
        const int descriptor =
            openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            flock(descriptor, LOCK_EX | LOCK_NB);
            return descriptor;
        }
        if (errno != EEXIST || attempt == 100) {
            const int error = errno;
            name.clear();
            errno = error;
            return -1;
        }
    }
}

TargetUse UseOfTarget(mode_t mode) {
    if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode)) return TargetUse::WriteThrough;
    if (S_ISREG(mode) || S_ISLNK(mode)) return TargetUse::Replace;
    return TargetUse::Refuse;
}

PathTarget TargetAt(int folder, const std::filesystem::path& path) {
    PathTarget target;
    if (fstatat(folder, path.c_str(), &target.status, AT_SYMLINK_NOFOLLOW) != 0) {
        target.status = {};
        return target;
    }
    target.exists = true;
    target.use = UseOfTarget(target.status.st_mode);
    if (!S_ISLNK(target.status.st_mode)) return target;
    // A link is replaced as before, unless it names a descriptor or leads to a device or FIFO.
    struct stat reached {};
    const bool reaches = fstatat(folder, path.c_str(), &reached, 0) == 0;
    const int reachError = reaches ? 0 : errno;
    if (NamesADescriptor(folder, path)) {
        target.use = TargetUse::AppendThrough;
        target.error = reachError;
        target.status = reached;
    } else if (reaches && UseOfTarget(reached.st_mode) == TargetUse::WriteThrough) {
        target.use = TargetUse::WriteThrough;
        target.status = reached;
    }
    return target;
}

std::error_code TryWriteFileAtomically(int folder, const std::filesystem::path& path,
                                       std::string_view bytes, const MayReplace& mayReplace) {
    int error = EISDIR;
    if (!path.empty() && path.has_filename()) {
        error = WriteNewFile(folder, path, bytes);
        // Only a name that is taken, or a folder that cannot hold a new file (/dev for a
        // user), costs a look at what is there.
        if (error != 0) error = WriteOverTarget(folder, path, bytes, mayReplace, error);
    }
    return error == 0 ? std::error_code() : std::error_code(error, std::generic_category());
}

std::error_code TryWriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    return TryWriteFileAtomically(AT_FDCWD, path, bytes, {});
}

int RemoveStaleTemporaries(int folder, const std::function<bool(std::string_view)>& ofTarget,
                           std::chrono::seconds age) {
    const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listed < 0 ? nullptr : fdopendir(listed);
    if (entries == nullptr) {
        if (listed >= 0) close(listed);
        return 0;
    }
    const auto before = std::chrono::system_clock::now() - age;
    int removed = 0;
    while (const dirent* entry = readdir(entries)) {
        const std::string_view target = TargetOfTemporary(entry->d_name);
        if (target.empty() || !ofTarget(target)) continue;
        const host::FileDescriptor file(
            openat(listed, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat status {};
        // Unlocked: its writer is gone; unchanged for a while: not one just made, whose
        // writer has yet to lock it.
        if (file.get() >= 0 && fstat(file.get(), &status) == 0 && S_ISREG(status.st_mode) &&
            std::chrono::system_clock::from_time_t(status.st_mtime) < before &&
            flock(file.get(), LOCK_EX | LOCK_NB) == 0 && unlinkat(listed, entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    closedir(entries);
    return removed;
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
            unlinkat(slot.folder, slot.name, 0);
        }
    }
}

}  // namespace qv::imagefile
