#include "BatchRecords.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>

#include "CsvLine.h"
#include "ValueParsing.h"

namespace qv::cli {

enum class BatchColumn : int {
    Text,
    BarCodeType,
    BarWidth,
    BarHeight,
    BarWidthSource,
    BackgroundWhite,
    ShowValue,
    CalculateCheckDigit
};

namespace {

using Column = BatchColumn;

constexpr std::array<std::pair<std::string_view, Column>, 8> kColumns{{
    {"text", Column::Text},
    {"barcodetype", Column::BarCodeType},
    {"barwidth", Column::BarWidth},
    {"barheight", Column::BarHeight},
    {"barwidthsource", Column::BarWidthSource},
    {"backgroundwhite", Column::BackgroundWhite},
    {"showvalue", Column::ShowValue},
    {"calculatecheckdigit", Column::CalculateCheckDigit},
}};

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<Column> ColumnNamed(std::string_view name) {
    std::string lower(TrimSpaces(name));
    std::ranges::transform(lower, lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [columnName, column] : kColumns) {
        if (lower == columnName) {
            return column;
        }
    }
    return std::nullopt;
}

// The columns of a header line, or nothing when the line is a text to encode.
std::optional<std::vector<Column>> HeaderColumns(std::string_view line) {
    const auto cells = SplitCsvLine(line);
    if (!cells) {
        return std::nullopt;
    }
    std::vector<Column> columns;
    for (const std::string& cell : *cells) {
        const auto column = ColumnNamed(cell);
        if (!column) {
            return std::nullopt;
        }
        columns.push_back(*column);
    }
    if (std::ranges::find(columns, Column::Text) == columns.end()) {
        return std::nullopt;
    }
    return columns;
}

std::string_view NameOf(Column column) {
    static constexpr std::array<std::string_view, 8> kNames{
        "Text",           "BarCodeType",     "BarWidth",  "BarHeight",
        "BarWidthSource", "BackgroundWhite", "ShowValue", "CalculateCheckDigit"};
    return kNames[static_cast<std::size_t>(column)];
}

// Stores one cell; the error text when it is no valid value of its column.
std::optional<std::string> ApplyCell(Column column, const std::string& cell,
                                     BarcodeSettings& settings) {
    if (column == Column::Text) {
        settings.text = cell;
        return std::nullopt;
    }
    const std::string_view value = TrimSpaces(cell);
    if (value.empty()) {
        return std::nullopt;
    }
    const auto invalid = [&](std::string_view wanted) {
        return "invalid " + std::string(NameOf(column)) + " '" + std::string(value) +
               "': " + std::string(wanted);
    };
    switch (column) {
        case Column::BarCodeType:
            if (const auto type = ParseBarcodeType(value)) {
                settings.barCodeType = *type;
                return std::nullopt;
            }
            return invalid("i2of5, s2of5, code39, ean13 or a number");
        case Column::BarWidth:
        case Column::BarHeight:
            if (const auto number = ParseWholeNumber(value)) {
                (column == Column::BarWidth ? settings.barWidth : settings.barHeight) = *number;
                return std::nullopt;
            }
            return invalid("a whole number is expected");
        default:
            break;
    }
    const auto flag = ParseBoolean(value);
    if (!flag) {
        return invalid("True/False, -1/0, 1 or yes/no is expected");
    }
    switch (column) {
        case Column::BarWidthSource:
            settings.barWidthSource = *flag;
            break;
        case Column::BackgroundWhite:
            settings.backgroundWhite = *flag;
            break;
        case Column::ShowValue:
            settings.showValue = *flag;
            break;
        default:
            settings.calculateCheckDigit = *flag;
            break;
    }
    return std::nullopt;
}

void ReadCsvRecord(std::string_view line, const std::vector<Column>& columns, BatchRecord& record) {
    const auto cells = SplitCsvLine(line);
    if (!cells) {
        record.error = "a quoted cell is not closed";
        return;
    }
    if (cells->size() > columns.size()) {
        record.error = std::to_string(cells->size()) + " cells, but the header names " +
                       std::to_string(columns.size()) + " columns";
        return;
    }
    BarcodeSettings settings = *record.settings;
    // Cells missing at the end are empty: the defaults hold.
    for (std::size_t i = 0; i < cells->size(); ++i) {
        if (auto error = ApplyCell(columns[i], (*cells)[i], settings)) {
            record.error = std::move(*error);
            return;
        }
    }
    record.settings = std::move(settings);
}

}  // namespace

BatchReader::BatchReader(std::istream& input, const BarcodeSettings& defaults)
    : input_(input), defaults_(defaults) {}

std::optional<BatchRecord> BatchReader::Next() {
    while (std::getline(input_, line_)) {
        ++lineNumber_;
        if (!line_.empty() && line_.back() == '\r') {
            line_.pop_back();
        }
        if (lineNumber_ == 1 && (columns_ = HeaderColumns(line_))) {
            continue;
        }
        BatchRecord record{
            .number = ++recordNumber_, .line = lineNumber_, .settings = defaults_, .error = {}};
        if (columns_) {
            ReadCsvRecord(line_, *columns_, record);
            if (!record.error.empty()) {
                record.settings.reset();
            }
        } else {
            record.settings->text = line_;
        }
        return record;
    }
    return std::nullopt;
}

std::vector<BatchRecord> ReadBatchRecords(std::istream& input, const BarcodeSettings& defaults) {
    std::vector<BatchRecord> records;
    BatchReader reader(input, defaults);
    while (auto record = reader.Next()) {
        records.push_back(std::move(*record));
    }
    return records;
}

}  // namespace qv::cli
