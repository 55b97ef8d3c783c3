// SPDX-License-Identifier: MIT
#include "output/BatchFiles.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>

#include <qvbarcode/host/FileDescriptor.h>
#include <qvbarcode/imagefile/AtomicFile.h>

namespace qv::cli {

namespace {

// A temporary younger than this may be one whose writer has not locked it yet.
constexpr std::chrono::seconds kStaleAge{10};

std::vector<std::string> Components(std::string_view path) {
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (slash > start) parts.emplace_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

// Without openat2: one folder at a time, following no link at all.
int OpenFollowingNoLink(int base, std::string_view relative) {
    int folder = openat(base, ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (const std::string& part : Components(relative)) {
        if (folder < 0) break;
        int next = -1;
        if (part == "..") {
            errno = EXDEV;
        } else {
            next = openat(folder, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            struct stat status {};
            if (next < 0 && fstatat(folder, part.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISLNK(status.st_mode)) {
                errno = EXDEV;
            }
        }
        const int error = errno;
        close(folder);
        folder = next;
        errno = error;
    }
    return folder;
}

// The folder at relative below base, looked up without leaving base: a link that leads out
// gives EXDEV. A descriptor (O_PATH), or -1 with errno set.
int OpenBeneath(int base, const std::string& relative) {
    open_how how{};
    how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    const auto folder =
        static_cast<int>(syscall(SYS_openat2, base, relative.c_str(), &how, sizeof how));
    if (folder >= 0 || (errno != ENOSYS && errno != EPERM)) return folder;
    return OpenFollowingNoLink(base, relative);  // an old kernel, or a sandbox that refuses it
}

// The same, making the folders that are missing.
int MakeBeneath(int base, const std::string& relative) {
    const int whole = OpenBeneath(base, relative);
    if (whole >= 0 || errno != ENOENT) return whole;
    std::string prefix;
    int parent = -1;
    for (const std::string& part : Components(relative)) {
        prefix += (prefix.empty() ? "" : "/") + part;
        int next = OpenBeneath(base, prefix);
        if (next < 0 && errno == ENOENT &&
            (mkdirat(parent < 0 ? base : parent, part.c_str(), 0777) == 0 || errno == EEXIST)) {
            next = OpenBeneath(base, prefix);
        }
        const int error = errno;
        if (parent >= 0) close(parent);
        parent = next;
        errno = error;
        if (parent < 0) break;
    }
    return parent;
}

// The path the system resolved the open folder to, links and all: the same for every
// spelling of the folder, and the same as a folder not made yet will have when it is.
std::string ResolvedPath(int folder) {
    char link[32];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", folder);
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::read_symlink(link, error);
    if (!error) return resolved.string();
    struct stat status {};  // no /proc: the folder's identity, for folders that are there
    fstat(folder, &status);
    return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

// The path of the folder below base that parts name: the deepest folder on the way that is
// there as the system resolves it, and the rest as spelt, a link among them followed by its
// text, so that a link to a folder not made yet names the folder it will be.
std::string ResolvedBelow(int base, std::vector<std::string> parts) {
    for (int links = 0; links < 40; ++links) {
        std::size_t there = parts.size() + 1;
        std::string prefix;
        int found = -1;
        while (found < 0 && there-- > 0) {
            prefix = ".";
            for (std::size_t i = 0; i < there; ++i) prefix += "/" + parts[i];
            found = OpenBeneath(base, prefix);
            if (found < 0 && errno != ENOENT) break;
        }
        if (found < 0) break;  // it leads out: the record fails when written
        const host::FileDescriptor deepest(found);
        char target[PATH_MAX];
        const ssize_t length =
            there < parts.size() ? readlinkat(found, parts[there].c_str(), target, PATH_MAX) : -1;
        if (length <= 0 || length == PATH_MAX || target[0] == '/') {
            std::string path = ResolvedPath(found);
            for (std::size_t i = there; i < parts.size(); ++i) path += "/" + parts[i];
            return std::filesystem::path(path).lexically_normal().string();
        }
        std::vector<std::string> followed(parts.begin(), parts.begin() + there);
        for (std::string& part : Components(std::string_view(target, length)))
            followed.push_back(std::move(part));
        followed.insert(followed.end(), parts.begin() + there + 1, parts.end());
        parts = std::move(followed);
    }
    std::string spelt = "!";
    for (const std::string& part : parts) spelt += "/" + part;
    return spelt;
}

FileFailure Failure(const std::string& what, int error) {
    const std::error_code code(error, std::generic_category());
    return {what + ": " + code.message(), code};
}

}  // namespace

std::optional<ReadFile> IdentifyRead(const std::string& path, std::string role) {
    struct stat status {};
    if ((path == "-" ? fstat(STDIN_FILENO, &status) : stat(path.c_str(), &status)) != 0 ||
        !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return ReadFile{{status.st_dev, status.st_ino}, std::move(role)};
}

BatchFiles::BatchFiles(const OutputPattern& pattern, std::vector<ReadFile> reads)
    : pattern_(pattern), fixed_(pattern.FixedFolder()), reads_(std::move(reads)) {}

std::pair<std::string, std::string> BatchFiles::Split(const std::string& path) const {
    std::string_view below = path;
    if (fixed_ == "/") {
        below.remove_prefix(1);
    } else if (fixed_ != "." || below.starts_with("./")) {
        below.remove_prefix(fixed_.size() + 1);
    }
    const std::size_t slash = below.rfind('/');
    if (slash == std::string_view::npos) return {"", std::string(below)};
    return {std::string(below.substr(0, slash)), std::string(below.substr(slash + 1))};
}

std::string BatchFiles::Key(const std::string& path) {
    auto [folder, leaf] = Split(path);
    auto [known, fresh] = folderKeys_.try_emplace(folder);
    if (fresh) {
        const host::FileDescriptor base(open(fixed_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        std::error_code error;
        known->second =
            base.get() >= 0
                ? ResolvedBelow(base.get(), Components(folder))
                : std::filesystem::weakly_canonical(fixed_, error).string() + "/" + folder;
    }
    return known->second + "/" + leaf;
}

std::optional<FileFailure> BatchFiles::MakeFixedFolder() {
    if (fixedMade_.load(std::memory_order_acquire)) return std::nullopt;
    const std::lock_guard lock(mutex_);
    if (fixedMade_) return std::nullopt;
    std::error_code error;
    std::filesystem::create_directories(fixed_, error);
    if (error) {
        return FileFailure{"cannot make the folder " + fixed_ + ": " + error.message(), error};
    }
    const host::FileDescriptor folder(open(fixed_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat status {};
    if (folder.get() < 0 || fstat(folder.get(), &status) != 0) {
        return Failure("cannot open the folder " + fixed_, errno);
    }
    written_.try_emplace(status.st_dev, fixed_);
    cleaned_.emplace(status.st_dev, status.st_ino);
    imagefile::RemoveStaleTemporaries(
        folder.get(), [this](std::string_view leaf) { return pattern_.MatchesLeaf(leaf); },
        kStaleAge);
    fixedMade_.store(true, std::memory_order_release);
    return std::nullopt;
}

void BatchFiles::FirstWriteInto(int folder, const std::string& path) {
    struct stat status {};
    if (fstat(folder, &status) != 0) return;
    {
        const std::lock_guard lock(mutex_);
        if (!cleaned_.emplace(status.st_dev, status.st_ino).second) return;
        written_.try_emplace(status.st_dev, path);
    }
    imagefile::RemoveStaleTemporaries(
        folder, [this](std::string_view leaf) { return pattern_.MatchesLeaf(leaf); }, kStaleAge);
}

std::optional<FileFailure> BatchFiles::Write(const std::string& path, std::string_view bytes) {
    if (auto failure = MakeFixedFolder()) return failure;
    std::string refusal;
    std::string special;
    const imagefile::MayReplace notRead = [&](const struct stat& existing) {
        // Many records' labels poured into one device or FIFO would be of no use to anyone.
        if (imagefile::UseOfTarget(existing.st_mode) == imagefile::TargetUse::WriteThrough) {
            special = S_ISFIFO(existing.st_mode) ? "a FIFO" : "a device";
            return false;
        }
        for (const ReadFile& read : reads_) {
            if (read.identity == FileIdentity{existing.st_dev, existing.st_ino}) {
                refusal = read.role;
                return false;
            }
        }
        return true;
    };
    const auto [folder, leaf] = Split(path);
    std::error_code error;
    if (folder.empty()) {
        // In the folder the user named: nothing of the path comes from a cell but the name.
        error = imagefile::TryWriteFileAtomically(AT_FDCWD, path, bytes, notRead);
    } else {
        const host::FileDescriptor base(open(fixed_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        const host::FileDescriptor below(base.get() < 0 ? -1 : MakeBeneath(base.get(), folder));
        if (below.get() < 0) {
            if (errno == EXDEV) {
                return FileFailure{
                    "cannot write " + path + ": a link on the way leads out of " + fixed_,
                    std::error_code(EXDEV, std::generic_category())};
            }
            return Failure("cannot make the folder " + fixed_ + "/" + folder, errno);
        }
        FirstWriteInto(below.get(), fixed_ + "/" + folder);
        error = imagefile::TryWriteFileAtomically(below.get(), leaf, bytes, notRead);
    }
    if (!special.empty()) {
        return FileFailure{
            "cannot write " + path + ": it is " + special + ", and a batch writes a file a record",
            error};
    }
    if (!refusal.empty()) {
        return FileFailure{path + " is " + refusal + ": not overwritten", error};
    }
    if (error) {
        return FileFailure{"cannot write " + path + ": " + WriteFailureText(path, error), error};
    }
    return std::nullopt;
}

std::optional<FileFailure> BatchFiles::Sync() {
    const std::lock_guard lock(mutex_);
    for (const auto& [device, folder] : written_) {
        if (auto failure = PutOnDisk(folder, "the files in " + folder)) return failure;
    }
    return std::nullopt;
}

}  // namespace qv::cli
