// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace qv::cli {

// Text from a list or the command line as messages show it: C0 and C1 controls and the
// bidirectional overrides and isolates (U+202A-U+202E, U+2066-U+2069), which would move or
// clear the terminal or reorder the line, as \xNN or \uNNNN, and bytes that are no UTF-8
// as \xNN.
std::string TerminalText(std::string_view text);

// Why text cannot be part of a file name for that reason or a byte-order mark, which no
// listing shows, or nothing when it can.
std::string_view UnshownCharacter(std::string_view text);

}  // namespace qv::cli
