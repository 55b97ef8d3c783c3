// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "input/CsvCells.h"
#include "options/CliOptions.h"

namespace qv::cli {

// Whether text is well-formed UTF-8.
bool IsUtf8(std::string_view text);

// A record's text and cells in UTF-8: as read when they are UTF-8, or read as Windows-1252
// under ListEncoding::Latin1. False, and the record as read, for text that is no UTF-8 under
// ListEncoding::Utf8.
bool ToUtf8(CsvRecord& record, ListEncoding encoding);

// Why a line that is no UTF-8 stops the batch: its number and start, and the option.
std::string NotUtf8Line(const CsvRecord& line);

// A list read through once: its lines (LF, CRLF and a CR alone each end one), and the first
// that is no UTF-8, which stops the batch before any record when it is read as UTF-8.
struct ListScan {
    std::int64_t lines = 0;
    std::optional<CsvRecord> notUtf8;
};
ListScan ScanList(std::istream& input);

}  // namespace qv::cli
