// SPDX-License-Identifier: MIT
#include "options/ValueParsing.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <utility>

#include <qvbarcode/symbology/Symbologies.h>

namespace qv::cli {

namespace {

std::string Lowercase(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

constexpr std::array<std::pair<std::string_view, OutputFormat>, 7> kFormatNames{{
    {"png", OutputFormat::Png},
    {"svg", OutputFormat::Svg},
    {"pbm", OutputFormat::Pbm},
    {"pgm", OutputFormat::Pgm},
    {"pdf", OutputFormat::Pdf},
    {"eps", OutputFormat::Eps},
    {"ps", OutputFormat::Ps},
}};

// Each unit's name and its length in inches (a pixel's is the resolution's own).
struct UnitName {
    std::string_view name;
    LengthUnit unit;
    double inches;
};
constexpr std::array<UnitName, 5> kUnits{{
    {"px", LengthUnit::Pixel, 0.0},
    {"mm", LengthUnit::Millimetre, 1.0 / 25.4},
    {"cm", LengthUnit::Centimetre, 1.0 / 2.54},
    {"in", LengthUnit::Inch, 1.0},
    {"pt", LengthUnit::Point, 1.0 / 72.0},
}};

// from_chars takes no leading '+', which people do type.
std::string_view WithoutPlus(std::string_view text) {
    return text.size() > 1 && text.front() == '+' && text[1] != '-' ? text.substr(1) : text;
}

// A finite decimal number, the whole text.
std::optional<double> ParseDecimal(std::string_view text) {
    text = WithoutPlus(text);
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || error != std::errc{} || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
    text = WithoutPlus(text);
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> ParseCount(std::string_view text) {
    text = WithoutPlus(text);
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || value < 1) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> ParseBarcodeType(std::string_view text) {
    const std::string lower = Lowercase(text);
    for (const symbology::Symbology& symbology : symbology::Symbologies()) {
        if (lower == symbology.programName) {
            return symbology.value;
        }
    }
    return ParseWholeNumber(text);
}

std::optional<Length> ParseLength(std::string_view text) {
    const std::string lower = Lowercase(text);
    for (const UnitName& unit : kUnits) {
        if (lower.size() > unit.name.size() && lower.ends_with(unit.name)) {
            const auto value =
                ParseDecimal(std::string_view(lower).substr(0, lower.size() - unit.name.size()));
            return value ? std::optional(Length{*value, unit.unit}) : std::nullopt;
        }
    }
    const auto value = ParseDecimal(lower);
    return value ? std::optional(Length{*value, LengthUnit::Pixel}) : std::nullopt;
}

std::optional<std::int32_t> ToPixels(const Length& length, double dotsPerInch) {
    double pixels = length.value;
    for (const UnitName& unit : kUnits) {
        if (unit.unit == length.unit && unit.inches > 0.0) {
            pixels = length.value * unit.inches * dotsPerInch;
        }
    }
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const double whole = std::nearbyint(pixels);
    if (!(whole >= INT32_MIN && whole <= INT32_MAX)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(whole);
}

std::optional<double> ParsePositiveNumber(std::string_view text) {
    const auto value = ParseDecimal(text);
    return value && *value > 0.0 ? value : std::nullopt;
}

std::optional<AutomationBool> ParseBoolean(std::string_view text) {
    const std::string lower = Lowercase(text);
    if (lower == "true" || lower == "-1" || lower == "1" || lower == "yes") {
        return kTrue;
    }
    if (lower == "false" || lower == "0" || lower == "no") {
        return kFalse;
    }
    return std::nullopt;
}

std::optional<OutputFormat> ParseFormatName(std::string_view name) {
    const std::string lower = Lowercase(name);
    for (const auto& [formatName, format] : kFormatNames) {
        if (lower == formatName) {
            return format;
        }
    }
    return std::nullopt;
}

std::optional<OutputFormat> FormatOfPath(std::string_view path) {
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot)) {
        return std::nullopt;
    }
    return ParseFormatName(path.substr(dot + 1));
}

std::string_view FormatName(OutputFormat format) {
    return std::ranges::find(kFormatNames, format,
                             &std::pair<std::string_view, OutputFormat>::second)
        ->first;
}

}  // namespace qv::cli
