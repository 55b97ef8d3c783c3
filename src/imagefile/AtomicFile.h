// SPDX-License-Identifier: MIT
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

#include <qvbarcode/host/Export.h>

namespace qv::imagefile {

// Replaces the file at path with bytes, whole or not at all: the bytes go to an unnamed or
// temporary file in the same directory, which gets path as its name only once they are all
// written. A reader never sees a partial file, and a failure leaves no temporary behind.
// A device or FIFO at path (or at the end of a link there) is never replaced: it is opened
// and written, as any program writing to it would; a directory or socket is refused.
// Raises the failed call (platform failure) with "<path>: <system message>".
QV_EXPORT void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The same, with the file system's refusal as a value (a full disk, a read-only folder),
// for callers that decide by its kind what to do next; empty when written.
QV_EXPORT std::error_code TryWriteFileAtomically(const std::filesystem::path& path,
                                                 std::string_view bytes);

// What becomes of what is already at a path, by its file type: a file or link is replaced
// (but a link into /proc, as /dev/stdout is, has the bytes appended where it leads),
// a device or FIFO written through (replacing /dev/null with a file would break every
// program that writes to it), anything else (a directory, a socket) refused.
enum class TargetUse { Replace, WriteThrough, AppendThrough, Refuse };
QV_EXPORT TargetUse UseOfTarget(mode_t mode);

// What is at path (relative to the open folder `folder`, or AT_FDCWD) and what becomes of
// it: nothing (exists false) or a file or link is replaced, with what lstat says of it; a
// link into /proc is appended through and a link to a device or FIFO written through, with
// what stat says of what it reaches; error is set when a link into /proc reaches nothing.
struct PathTarget {
    TargetUse use = TargetUse::Replace;
    bool exists = false;
    struct stat status {};
    int error = 0;
};
QV_EXPORT PathTarget TargetAt(int folder, const std::filesystem::path& path);

// Asked before a file that is there is replaced, with what lstat says of it (a symbolic
// link is replaced, never followed), or before a device or FIFO is written through, with
// what stat says of it; false leaves it as it is and the write fails with
// std::errc::file_exists.
using MayReplace = std::function<bool(const struct stat& existing)>;

// The same again, path taken relative to the open folder `folder` (or AT_FDCWD), so that
// nothing on the way to it is looked up twice.
QV_EXPORT std::error_code TryWriteFileAtomically(int folder, const std::filesystem::path& path,
                                                 std::string_view bytes,
                                                 const MayReplace& mayReplace);

// Creates the temporary that stands for target until it is whole, ".NAME.abc123" beside it
// (target relative to the open folder `folder`, or AT_FDCWD), locked while its descriptor
// is open so that RemoveStaleTemporaries leaves it alone. Returns the descriptor and its name
// in name, or -1 with errno set.
QV_EXPORT int OpenTemporaryBeside(int folder, const std::filesystem::path& target,
                                  std::string& name);

// Removes the temporaries in the open folder that a writer ended mid-write left behind
// (one killed, or a machine that stopped), of the files whose names ofTarget accepts: those
// no writer holds any more and that have not changed for `age`. Returns how many went.
QV_EXPORT int RemoveStaleTemporaries(int folder,
                                     const std::function<bool(std::string_view)>& ofTarget,
                                     std::chrono::seconds age);

// Removes the temporaries of the writes in progress, on any thread, if any. Safe to call
// from a signal handler, so that a program ended by a signal leaves only complete files.
QV_EXPORT void RemoveUnfinishedFile() noexcept;

}  // namespace qv::imagefile
