// SPDX-License-Identifier: MIT
// The options of a batch's one document: its sheets, where on them the labels start, how
// many of each, and what is printed with them.
#include <utility>

#include "commands/CommandOption.h"
#include "output/OutputPattern.h"

namespace qv::cli {

namespace {

constexpr std::int64_t kMaxCopies = 100000;

std::optional<UsageError> SetSheet(Collected& c, std::string_view value) {
    if (value.empty()) return UsageError{"--sheet needs a template's name, a geometry or list"};
    if (value == "list") {
        c.options.command = Command::ListSheets;
    }
    c.options.labels.sheet = std::string(value);
    return std::nullopt;
}

std::optional<UsageError> SetFirst(Collected& c, std::string_view value) {
    const auto first = ParseCount(value);
    if (!first) return BadValue("--first", value, "a label number from 1");
    c.options.labels.firstLabel = *first;
    return std::nullopt;
}

std::optional<UsageError> SetCopies(Collected& c, std::string_view value) {
    const auto copies = ParseCount(value);
    if (!copies || *copies > kMaxCopies) {
        return BadValue("--copies", value, "a number of copies from 1 to 100000");
    }
    c.options.labels.copies = static_cast<std::int32_t>(*copies);
    return std::nullopt;
}

std::optional<UsageError> SetCopiesColumn(Collected& c, std::string_view value) {
    if (value.empty()) return UsageError{"--copies-column needs a column name"};
    c.options.labels.copiesColumn = std::string(value);
    return std::nullopt;
}

std::optional<UsageError> SetOffset(Collected& c, std::string_view value) {
    const auto comma = value.find(',');
    const auto x = ParseLength(value.substr(0, comma));
    const auto y =
        comma == std::string_view::npos ? std::nullopt : ParseLength(value.substr(comma + 1));
    if (!x || !y) {
        return BadValue("--offset", value, "two lengths DX,DY, e.g. 1.5mm,-0.5mm");
    }
    c.options.labels.offsetX = *x;
    c.options.labels.offsetY = *y;
    return std::nullopt;
}

std::optional<UsageError> SetOutline(Collected& c, std::string_view) {
    c.options.labels.outline = true;
    return std::nullopt;
}

std::optional<UsageError> SetCaption(Collected& c, std::string_view value) {
    c.options.labels.caption = std::string(value);
    return std::nullopt;
}

}  // namespace

std::vector<CommandOption> SheetLayoutOptions() {
    return {
        {"", {"--sheet"}, true, SetSheet},     {"", {"--first"}, true, SetFirst},
        {"", {"--copies"}, true, SetCopies},   {"", {"--copies-column"}, true, SetCopiesColumn},
        {"", {"--offset"}, true, SetOffset},   {"", {"--outline"}, false, SetOutline},
        {"", {"--caption"}, true, SetCaption},
    };
}

bool WritesOneDocument(const Collected& c) {
    const Options& o = c.options;
    const auto format = c.format ? c.format : FormatOfPath(o.output);
    if (format != OutputFormat::Pdf && format != OutputFormat::Ps) return false;
    if (o.command == Command::Render) {
        // One barcode's PDF stays the one-page file of its size unless laid out.
        const LabelLayout& l = o.labels;
        return o.output != "-" &&
               (format == OutputFormat::Ps || !l.sheet.empty() || l.copies != 1 ||
                l.offsetX != Length{} || l.offsetY != Length{} || !l.caption.empty());
    }
    // Printed without -o: into a document of the program's own.
    if (o.command == Command::Batch && o.printQueue && o.output.empty()) return true;
    const auto pattern = OutputPattern::Parse(o.output);
    const auto* parsed = std::get_if<OutputPattern>(&pattern);
    return o.command == Command::Batch && parsed != nullptr && !parsed->NamesRecords();
}

std::optional<UsageError> CheckSheetOptions(Collected& c) {
    Options& o = c.options;
    const LabelLayout& l = o.labels;
    o.oneDocument = WritesOneDocument(c);
    if (o.format == OutputFormat::Ps && !o.oneDocument) {
        return UsageError{
            "PostScript (.ps) is a document written to a file: -o labels.ps; a file per "
            "record or standard output is .eps"};
    }
    if (o.command == Command::Render && !l.copiesColumn.empty()) {
        return UsageError{"--copies-column is for a --batch list: give --copies N"};
    }
    if (!o.oneDocument) {
        for (const auto& [given, option] :
             {std::pair{!l.sheet.empty(), "--sheet"},
              {l.firstLabel != 1, "--first"},
              {l.copies != 1, "--copies"},
              {!l.copiesColumn.empty(), "--copies-column"},
              {l.offsetX != Length{} || l.offsetY != Length{}, "--offset"},
              {l.outline, "--outline"},
              {!l.caption.empty(), "--caption"}}) {
            if (given) {
                return UsageError{std::string(option) +
                                  " lays out a document: -o labels.pdf (or .ps), in a batch "
                                  "a name without # or {COLUMN}"};
            }
        }
    }
    if (l.sheet.empty() && (l.firstLabel != 1 || l.outline)) {
        return UsageError{std::string(l.outline ? "--outline" : "--first") +
                          " is about the labels of a sheet: give --sheet NAME"};
    }
    if (l.copies != 1 && !l.copiesColumn.empty()) {
        return UsageError{"--copies and --copies-column both say how many: give one"};
    }
    return std::nullopt;
}

}  // namespace qv::cli
