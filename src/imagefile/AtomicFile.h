#pragma once

#include <filesystem>
#include <string_view>

namespace qv::imagefile {

// Replaces the file at path with bytes, whole or not at all: the bytes go to an unnamed or
// temporary file in the same directory, which gets path as its name only once they are all
// written. A reader never sees a partial file, and a failure leaves no temporary behind.
// Raises the failed call (platform failure) with "<path>: <system message>".
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporary of a write in progress, if any. Safe to call from a signal
// handler, so that a program ended by a signal leaves only complete files behind.
void RemoveUnfinishedFile() noexcept;

}  // namespace qv::imagefile
