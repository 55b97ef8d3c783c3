// SPDX-License-Identifier: MIT
#include "input/BatchRecords.h"

#include <algorithm>

#include <qvbarcode/host/MemberTable.h>
#include "input/CsvCells.h"
#include "input/ListText.h"
#include "options/ValueParsing.h"

namespace qv::cli {

namespace {

using control::Property;

// The cells ApplyCell reads: Text, BarCodeType, the two sizes and the Boolean flags.
static_assert(std::ranges::all_of(control::kProperties, [](const control::PropertyRow& row) {
    const Property p = row.property;
    return !row.csvColumn || p == Property::Text || p == Property::BarCodeType ||
           p == Property::BarWidth || p == Property::BarHeight || FlagOf(p) != nullptr;
}));

// Header cells name properties as the control's members are named, blanks around them aside.
bool SameName(std::string_view a, std::string_view b) {
    return host::NamesMatch(TrimCellSpaces(a), TrimCellSpaces(b));
}

// The property a header cell names (a CSV column of the property table), or none.
BatchColumn ColumnNamed(std::string_view name, const std::optional<std::string>& textColumn) {
    // The named column gives Text; a column called Text is then just another one.
    if (textColumn && SameName(name, *textColumn)) {
        return Property::Text;
    }
    for (const control::PropertyRow& row : control::kProperties) {
        if (row.csvColumn && SameName(name, row.name)) {
            return textColumn && row.property == Property::Text ? kOtherColumn : row.property;
        }
    }
    return kOtherColumn;
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : ", ") + std::string(TrimCellSpaces(name));
    }
    return joined;
}

// Stores one cell; the error text when it is no valid value of its column.
std::optional<std::string> ApplyCell(BatchColumn column, const std::string& cell,
                                     double dotsPerInch, BarcodeSettings& settings) {
    if (column == Property::Text) {
        settings.text = cell;
        return std::nullopt;
    }
    const std::string_view value = TrimCellSpaces(cell);
    if (!column || value.empty()) {
        return std::nullopt;
    }
    const auto invalid = [&](std::string_view wanted) {
        return "invalid " + std::string(control::NameOf(*column)) + " '" + std::string(value) +
               "': " + std::string(wanted);
    };
    switch (*column) {
        case Property::BarCodeType:
            if (const auto type = ParseBarcodeType(value)) {
                settings.barCodeType = *type;
                return std::nullopt;
            }
            return invalid("i2of5, s2of5, code39, ean13 or a number");
        case Property::BarWidth:
        case Property::BarHeight: {
            const auto length = ParseLength(value);
            const auto pixels = length ? ToPixels(*length, dotsPerInch) : std::nullopt;
            if (!pixels) {
                return invalid("a length is expected, such as 300 or 37.29mm");
            }
            if (*column == Property::BarHeight) {
                settings.barHeight = *pixels;
            } else {
                settings.barWidth = *pixels;
                settings.modulePixels.reset();  // the record's width beats --module
            }
            return std::nullopt;
        }
        default:
            break;
    }
    const auto flag = ParseBoolean(value);
    if (!flag) {
        return invalid("True/False, -1/0, 1 or yes/no is expected");
    }
    settings.*FlagOf(*column) = *flag;
    return std::nullopt;
}

}  // namespace

BatchReader::BatchReader(std::istream& input, BatchSource source)
    : input_(input), source_(std::move(source)) {}

std::optional<std::string> BatchReader::Start() {
    auto refusal = ReadHeader();
    refused_ = refusal.has_value();
    return refusal;
}

std::optional<std::string> BatchReader::ReadHeader() {
    CsvRecord first;
    if (!input_.ReadLine(first)) {
        return std::nullopt;
    }
    if (first.tooLong) {
        return "the first line is longer than 1 MB";
    }
    if (!ToUtf8(first, source_.encoding)) {
        return NotUtf8Line(first);
    }
    const char separator = source_.separator != 0 ? source_.separator : FindSeparator(first.text);
    input_.SetSeparator(separator);
    CsvRecord split = SplitLine(first.text, separator);
    if (split.open) {
        return "a quoted cell of the first line is not closed on it: a header names its columns "
               "on one line";
    }
    first.cells = std::move(split.cells);
    return ReadColumns(first);
}

// The header's columns, when the first line names any; else the first line is a record.
std::optional<std::string> BatchReader::ReadColumns(CsvRecord& first) {
    // No symbology draws a separator, a tab or a double quote: a first line with one is CSV.
    const bool looksLikeCsv =
        first.text.find_first_of(",;\t\"") != std::string::npos ||
        (source_.separator != 0 && first.text.find(source_.separator) != std::string::npos);
    std::vector<BatchColumn> columns;
    for (const std::string& cell : first.cells) {
        columns.push_back(ColumnNamed(cell, source_.textColumn));
    }
    const bool named = std::ranges::any_of(columns, [](BatchColumn c) { return c.has_value(); });
    if (!named) {
        if (source_.textColumn) {
            return "--text-column " + *source_.textColumn +
                   ": the first line names no such column" +
                   (looksLikeCsv ? " (it names " + JoinNames(first.cells) + ")" : "");
        }
        if (looksLikeCsv) {
            return "the first line looks like a CSV header but names no property (it names " +
                   JoinNames(first.cells) +
                   "): name the column to encode with --text-column NAME, or call it Text";
        }
        pendingText_ = std::move(first.text);
        return std::nullopt;
    }
    // Two columns that set one property: which one wins would be a guess.
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] && std::ranges::count(columns, columns[i]) > 1) {
            return "the header names the column " + std::string(TrimCellSpaces(first.cells[i])) +
                   " twice: keep one of them";
        }
    }
    if (std::ranges::find(columns, BatchColumn(Property::Text)) == columns.end() &&
        !source_.defaults.text) {
        return "the header names no Text column (it names " + JoinNames(first.cells) +
               "): name the column to encode with --text-column NAME";
    }
    names_ = std::move(first.cells);
    columns_ = std::move(columns);
    return std::nullopt;
}

bool BatchReader::IsOtherColumn(std::size_t i) const {
    return i < columns_.size() && !columns_[i];
}

bool BatchReader::ReadsColumn(control::Property property) const {
    return std::ranges::find(columns_, BatchColumn(property)) != columns_.end();
}

void BatchReader::ReadCells(std::vector<std::string> cells, BatchRecord& record) const {
    if (cells.size() > columns_.size()) {
        record.error = std::to_string(cells.size()) + " cells, but the header names " +
                       std::to_string(columns_.size()) + " columns";
        return;
    }
    BarcodeSettings settings = source_.defaults;
    // Cells missing at the end are empty: the defaults hold.
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (auto error = ApplyCell(columns_[i], cells[i], source_.dotsPerInch, settings)) {
            record.error = std::move(*error);
            break;
        }
    }
    record.text = settings.text.value_or(record.text);
    record.cells = std::move(cells);
    if (record.error.empty()) {
        record.settings = std::move(settings);
    }
}

std::optional<BatchRecord> BatchReader::Next() {
    CsvRecord csv;
    if (refused_) {
        return std::nullopt;
    } else if (pendingText_) {
        csv = {std::move(*pendingText_), {}, 1};
        pendingText_.reset();
    } else if (!(HasHeader() ? input_.ReadRecord(csv) : input_.ReadLine(csv))) {
        return std::nullopt;
    } else if (!csv.tooLong && !ToUtf8(csv, source_.encoding)) {
        // Text read in another encoding would be drawn and named wrong: no record after it.
        stoppedBy_ = NotUtf8Line(csv);
        refused_ = true;
        return std::nullopt;
    }
    BatchRecord record;
    record.number = ++recordNumber_;
    record.line = csv.line;
    record.text = std::move(csv.text);
    const auto blank = [](std::string_view cell) { return TrimCellSpaces(cell).empty(); };
    const bool empty = HasHeader() ? std::ranges::all_of(csv.cells, blank) : blank(record.text);
    if (csv.tooLong) {
        record.error = "the record is longer than 1 MB";
    } else if (empty && !csv.open) {
        record.empty = true;
    } else if (!HasHeader()) {
        record.settings = source_.defaults;
        record.settings->text = record.text;
    } else if (csv.open) {
        record.error = "a quoted cell is not closed by the end of the list";
    } else {
        ReadCells(std::move(csv.cells), record);
    }
    return record;
}

BatchList ReadBatchRecords(std::istream& input, const BatchSource& source) {
    BatchList list;
    BatchReader reader(input, source);
    if ((list.error = reader.Start())) {
        return list;
    }
    while (auto record = reader.Next()) {
        list.records.push_back(std::move(*record));
    }
    if (!reader.StoppedBy().empty()) {
        list.error = reader.StoppedBy();
    }
    return list;
}

}  // namespace qv::cli
