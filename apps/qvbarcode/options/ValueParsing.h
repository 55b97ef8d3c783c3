// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "options/CliOptions.h"

namespace qv::cli {

// Values as people type them, shared by the options and the CSV cells. Each gives nothing
// for a text that is not a valid value.

// A whole signed 32-bit number, the whole text (an optional sign, then digits).
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);
// A whole number from 1 up, such as a record number.
std::optional<std::int64_t> ParseCount(std::string_view text);

// A symbology's program name (i2of5, ean13, ..., in any letter case), or a whole number
// passed on unchecked so the control itself reports an unknown type.
std::optional<std::int32_t> ParseBarcodeType(std::string_view text);

// A length as people give it (Length.h).
std::optional<Length> ParseLength(std::string_view text);
// The length in whole pixels at the resolution, halves to the even one; nothing when it
// leaves 32 bits.
std::optional<std::int32_t> ToPixels(const Length& length, double dotsPerInch);

// A positive decimal number, such as a resolution (203.2).
std::optional<double> ParsePositiveNumber(std::string_view text);

// True/False, -1/0, 1, yes/no, in any letter case.
std::optional<AutomationBool> ParseBoolean(std::string_view text);

// png, svg, pbm, pgm, pdf, eps, in any letter case.
std::optional<OutputFormat> ParseFormatName(std::string_view name);
// The format a file name's ending selects.
std::optional<OutputFormat> FormatOfPath(std::string_view path);
// The format's name, which is also the ending of its files: "png".
std::string_view FormatName(OutputFormat format);

}  // namespace qv::cli
