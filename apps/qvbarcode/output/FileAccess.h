// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>

#include "drawing/RenderBarcode.h"

namespace qv::cli {

// The program's own file reads and writes. Their failures are file errors, told as one
// line that names the file, not failed calls.

// What the renderer needs of the command line, the --onto picture read (its opacities kept
// for a PNG output, else composed onto white), or why that picture cannot be read.
std::variant<RenderOptions, std::string> ReadRenderOptions(const Options& options);

// Why a file was not written or a folder not made: the line that tells, and the system's
// reason, which decides whether a batch can go on.
struct FileFailure {
    std::string message;
    std::error_code error;
};

// The first of folder and the folders above it that is there but is no folder (a file, so
// that no file below it can be written), or "" when there is none.
std::string NoFolderOnTheWay(const std::string& folder);

// Why writing path failed: the system's message, or for a socket, which no file may
// replace, what it is.
std::string WriteFailureText(const std::string& path, const std::error_code& error);

// Replaces the file whole (never partly written or clobbered) and puts it on disk, writes
// through a device or FIFO there, or writes to standard output for "-". Nothing when
// written, else the reason.
std::optional<FileFailure> WriteOutput(const std::string& target, std::string_view bytes);

// Puts everything written on the file system that holds the folder on disk, names and
// contents, with one syncfs: nothing when done, else the reason, saying "cannot put <what>
// on disk".
std::optional<FileFailure> PutOnDisk(const std::string& folder, const std::string& what);

// The folder a file's path names it in: "." for a bare name.
std::string FolderOf(const std::string& path);

}  // namespace qv::cli
