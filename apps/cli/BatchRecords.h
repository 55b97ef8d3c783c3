#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "CliOptions.h"

namespace qv::cli {

// A property a CSV column sets.
enum class BatchColumn : int;

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
// Records are read one at a time, so a batch of any length needs the memory of one.
class BatchReader {
  public:
    BatchReader(std::istream& input, const BarcodeSettings& defaults);

    // The next record, or nothing at the end of the input (or when it cannot be read).
    std::optional<BatchRecord> Next();
    // Whether the first line was a header of property columns rather than a record.
    bool HasHeader() const { return columns_.has_value(); }

  private:
    std::istream& input_;
    const BarcodeSettings& defaults_;
    std::optional<std::vector<BatchColumn>> columns_;  // the property of each CSV column
    std::int64_t lineNumber_ = 0;
    std::int64_t recordNumber_ = 0;
    std::string line_;
};

// Every record of the input at once.
std::vector<BatchRecord> ReadBatchRecords(std::istream& input, const BarcodeSettings& defaults);

}  // namespace qv::cli
