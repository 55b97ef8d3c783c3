// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "options/CliOptions.h"

namespace qv::cli {

// Why the command line cannot be run, in one line for the user.
struct UsageError {
    std::string message;
    friend bool operator==(const UsageError&, const UsageError&) = default;
};

using ParseResult = std::variant<Options, UsageError>;

// The arguments after the program name. Checks everything that can be checked without
// touching a file, so that a usage error never leaves anything behind.
ParseResult ParseArguments(std::span<const std::string_view> arguments);

// Every name an option of the command line goes by, short and long, for the texts that
// must name them all.
std::vector<std::string_view> CommandLineOptionNames();

}  // namespace qv::cli
