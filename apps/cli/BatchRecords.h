#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "CliOptions.h"

namespace qv::cli {

// One record of a batch: its number (from 1), the line it came from, and either the
// settings to draw or why the line cannot be drawn.
struct BatchRecord {
    std::int64_t number = 0;
    std::int64_t line = 0;
    std::optional<BarcodeSettings> settings;
    std::string error;
};

// Every line is a record: a text per line, or, when the first line names property columns
// (Text and any of BarCodeType, BarWidth, BarHeight, BarWidthSource, BackgroundWhite,
// ShowValue, CalculateCheckDigit), a CSV record per line. The command line's settings are
// the defaults; an empty cell keeps the default. An empty last line is no record.
std::vector<BatchRecord> ReadBatchRecords(std::istream& input, const BarcodeSettings& defaults);

}  // namespace qv::cli
