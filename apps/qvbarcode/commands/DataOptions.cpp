// SPDX-License-Identifier: MIT
// The options about the data: the batch list, how it is read, and how a text's check digit
// is taken.
#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "commands/CommandOption.h"

namespace qv::cli {

namespace {

constexpr std::int64_t kMaxJobs = 256;

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

// A separator by its character or its name; a tab also as \t, as people type it.
std::optional<char> ParseSeparator(std::string_view value) {
    constexpr std::array<std::pair<std::string_view, char>, 9> kNames{{
        {",", ','},
        {"comma", ','},
        {";", ';'},
        {"semicolon", ';'},
        {"tab", '\t'},
        {"\\t", '\t'},
        {"\t", '\t'},
        {"|", '|'},
        {"pipe", '|'},
    }};
    const std::string name = Lowered(value);
    const auto found = std::ranges::find(kNames, name, &std::pair<std::string_view, char>::first);
    return found == kNames.end() ? std::nullopt : std::optional(found->second);
}

std::optional<ListEncoding> ParseEncoding(std::string_view value) {
    const std::string name = Lowered(value);
    if (name == "utf8" || name == "utf-8") {
        return ListEncoding::Utf8;
    }
    for (const std::string_view latin :
         {"latin1", "latin-1", "iso-8859-1", "iso8859-1", "windows-1252", "cp1252"}) {
        if (name == latin) return ListEncoding::Latin1;
    }
    return std::nullopt;
}

// The words --check-digit takes; alone it adds the check digit.
constexpr std::array<std::string_view, 3> kCheckDigitModes{"add", "auto", "verify"};

std::optional<UsageError> SetBatch(Collected& c, std::string_view value) {
    c.options.command = Command::Batch;
    c.options.batchInput = std::string(value);
    return std::nullopt;
}

std::optional<UsageError> SetTextColumn(Collected& c, std::string_view value) {
    if (value.empty()) {
        return UsageError{"--text-column needs a column name"};
    }
    c.options.textColumn = std::string(value);
    return std::nullopt;
}

std::optional<UsageError> SetSeparatorOption(Collected& c, std::string_view value) {
    const auto separator = ParseSeparator(value);
    if (!separator) {
        return BadValue("--separator", value, "',', ';', tab or '|' (or comma, semicolon, pipe)");
    }
    c.options.separator = *separator;
    return std::nullopt;
}

std::optional<UsageError> SetEncoding(Collected& c, std::string_view value) {
    const auto encoding = ParseEncoding(value);
    if (!encoding) {
        return BadValue("--encoding", value, "utf8, or latin1 for ISO-8859-1 and Windows-1252");
    }
    c.options.encoding = *encoding;
    return std::nullopt;
}

std::optional<UsageError> SetJobs(Collected& c, std::string_view value) {
    const auto jobs = ParseCount(value);
    if (!jobs || *jobs > kMaxJobs) {
        return BadValue("--jobs", value, "a number of threads from 1 to 256");
    }
    c.options.jobs = static_cast<std::int32_t>(*jobs);
    return std::nullopt;
}

std::optional<UsageError> SetFrom(Collected& c, std::string_view value) {
    const auto first = ParseCount(value);
    if (!first) {
        return BadValue("--from", value, "a record number from 1");
    }
    c.options.firstRecord = *first;
    return std::nullopt;
}

std::optional<UsageError> SetNoVerify(Collected& c, std::string_view) {
    c.options.settings.verifyCheckDigit = false;
    return std::nullopt;
}

}  // namespace

Apply SetCheckDigit() {
    return [](Collected& c, std::string_view value) -> std::optional<UsageError> {
        BarcodeSettings& s = c.options.settings;
        if (value.empty() || value == "add") {
            s.calculateCheckDigit = kTrue;
            s.checkDigit = CheckDigitMode::AsGiven;
        } else if (value == "auto" || value == "verify") {
            s.calculateCheckDigit = kFalse;
            s.checkDigit = value == "auto" ? CheckDigitMode::Auto : CheckDigitMode::Verify;
        } else {
            return BadValue("--check-digit", value, "add (as alone), auto or verify");
        }
        return std::nullopt;
    };
}

std::vector<CommandOption> ListAndCheckDigitOptions() {
    return {
        {"", {"--batch"}, true, SetBatch},
        {"", {"--text-column"}, true, SetTextColumn},
        {"", {"--separator"}, true, SetSeparatorOption},
        {"", {"--encoding"}, true, SetEncoding},
        {"", {"--jobs"}, true, SetJobs},
        {"", {"--from"}, true, SetFrom},
        {"", {"--no-verify"}, false, SetNoVerify},
    };
}

std::vector<std::string_view> CheckDigitModes() {
    return {kCheckDigitModes.begin(), kCheckDigitModes.end()};
}

std::optional<UsageError> CheckListAndCheckDigit(const Collected& c) {
    const Options& o = c.options;
    if (o.command == Command::Batch && o.batchInput.empty()) {
        return UsageError{"the batch input name is empty"};
    }
    if (o.command != Command::Batch) {
        for (const auto& [given, option] : {std::pair{o.textColumn.has_value(), "--text-column"},
                                            {o.separator != 0, "--separator"},
                                            {o.encoding != ListEncoding::Utf8, "--encoding"},
                                            {o.jobs != 0, "--jobs"},
                                            {o.firstRecord != 1, "--from"}}) {
            if (given) {
                return UsageError{std::string(option) +
                                  " is for a --batch list: a single barcode is one drawing"};
            }
        }
    }
    const BarcodeSettings& s = o.settings;
    if (s.checkDigit == CheckDigitMode::Verify && !s.verifyCheckDigit) {
        return UsageError{"--check-digit verify and --no-verify ask for opposites: give one"};
    }
    if (s.checkDigit != CheckDigitMode::AsGiven && s.barCodeType == control::QvTypeCode39) {
        return UsageError{
            "--check-digit auto and verify are for the numeric types: Code 39 has "
            "no check digit"};
    }
    return std::nullopt;
}

}  // namespace qv::cli
