// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace qv::imagefile {

// Replaces the file at path with bytes, whole or not at all: the bytes go to an unnamed or
// temporary file in the same directory, which gets path as its name only once they are all
// written. A reader never sees a partial file, and a failure leaves no temporary behind.
// Raises the failed call (platform failure) with "<path>: <system message>".
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The same, with the file system's refusal as a value (a full disk, a read-only folder),
// for callers that decide by its kind what to do next; empty when written.
std::error_code TryWriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporaries of the writes in progress, on any thread, if any. Safe to call
// from a signal handler, so that a program ended by a signal leaves only complete files.
void RemoveUnfinishedFile() noexcept;

}  // namespace qv::imagefile
