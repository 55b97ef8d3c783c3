// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/ParseArguments.h"
#include "options/ValueParsing.h"

namespace qv::cli {

// Everything the command line said, before the checks that look at the options together.
// Lengths wait for the resolution, which may come after them.
struct Collected {
    Options options;
    std::optional<OutputFormat> format;
    bool sawOutput = false;
    std::optional<Length> width, height, module, x, y;
};

using Apply = std::function<std::optional<UsageError>(Collected&, std::string_view value)>;

// One option: its names, whether it takes a value, and what it does with it. A flag may
// take one of a few words as its value, as the next argument or after '='.
struct CommandOption {
    std::string_view shortName;  // empty when there is none
    std::vector<std::string_view> longNames;
    bool takesValue;
    Apply apply;
    std::vector<std::string_view> optionalValues = {};
    // Instead, any next argument that is no option is its value (a name).
    bool optionalName = false;
};

UsageError BadValue(std::string_view option, std::string_view value, std::string_view wanted);

// The options of a batch list and of how a text's check digit is taken.
std::vector<CommandOption> ListAndCheckDigitOptions();
// CalculateCheckDigit's option, which also takes how to take the check digit: one of
// CheckDigitModes() as its value.
Apply SetCheckDigit();
std::vector<std::string_view> CheckDigitModes();
// Their checks against the whole command line.
std::optional<UsageError> CheckListAndCheckDigit(const Collected& c);

// The options of a batch's one document: --sheet and those that lay its labels out.
std::vector<CommandOption> SheetLayoutOptions();
// Whether the command writes one document of pages: a batch into a PDF or PostScript name
// without # or {COLUMN}, or one barcode laid out or repeated.
bool WritesOneDocument(const Collected& c);
// Their checks against the whole command line, once the format is known; sets oneDocument.
std::optional<UsageError> CheckSheetOptions(Collected& c);
// --print [QUEUE], and its checks: a printed barcode needs no -o, and is a PDF or EPS
// document.
CommandOption PrintQueueOption();
std::optional<UsageError> SettlePrint(Collected& c);

}  // namespace qv::cli
