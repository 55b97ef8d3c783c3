#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "RenderBarcode.h"

namespace qv::cli {

// The program's own file reads and writes. Their failures are file errors, told as one
// line that names the file, not failed calls.

// What the renderer needs of the command line, the --onto picture read (its opacities kept
// for a PNG output, else composed onto white), or why that picture cannot be read.
std::variant<RenderOptions, std::string> ReadRenderOptions(const Options& options);

// Replaces the file whole (never partly written or clobbered), or writes to standard output
// for "-". Nothing when written, else the reason.
std::optional<std::string> WriteOutput(const std::string& target, std::string_view bytes);

}  // namespace qv::cli
