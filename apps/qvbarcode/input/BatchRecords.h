// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "input/CsvCells.h"
#include "options/CliOptions.h"

namespace qv::cli {

// The property a CSV column sets, or none.
using BatchColumn = std::optional<control::Property>;
inline constexpr BatchColumn kOtherColumn = std::nullopt;

// What the reader takes from the command line.
struct BatchSource {
    BarcodeSettings defaults = {};               // every record's settings before its cells
    std::optional<std::string> textColumn = {};  // the column that gives Text, instead of Text
    double dotsPerInch = kScreenDotsPerInch;     // for lengths in BarWidth and BarHeight cells
    char separator = 0;                          // 0: found from the header line
    ListEncoding encoding = ListEncoding::Utf8;
};

// One record of a batch: its number (from 1), the line it starts on, the text the messages
// about it show, and either the settings to draw or why the record cannot be drawn; or none
// of either for a row whose cells are all empty, which spreadsheets add and a batch skips.
struct BatchRecord {
    std::int64_t number = 0;
    std::int64_t line = 0;
    std::string text;
    std::optional<BarcodeSettings> settings;
    std::string error;
    std::vector<std::string> cells;  // a CSV record's cells, for file names
    bool empty = false;
};

// A list of texts, one per line, or CSV as spreadsheets write it: the first line is a
// header when it names a property that has a CSV column (control::kProperties: Text,
// BarCodeType, the sizes and the Booleans, in any letter case) or the text column. Its
// cells are separated by commas, semicolons or tabs, whichever the header line holds most
// (or as given). A UTF-8 byte-order mark is skipped; text that is no UTF-8 is read as the
// source's encoding says, or refused. The defaults hold where a cell is empty or missing.
// Records are read one at a time, so a batch of any length needs the memory of one.
class BatchReader {
  public:
    BatchReader(std::istream& input, BatchSource source);

    // Reads the header, if any: nothing when records may follow, else why the list cannot
    // be read (a first line that looks like a header but names no column to use).
    std::optional<std::string> Start();
    bool HasHeader() const { return !names_.empty(); }
    // The header's cells as written; none for a list of texts.
    const std::vector<std::string>& ColumnNames() const { return names_; }
    // Whether header column i sets nothing of the drawing.
    bool IsOtherColumn(std::size_t i) const;
    // Whether a header column sets the property.
    bool ReadsColumn(control::Property property) const;
    // The next record, or nothing at the end of the input (or when it cannot be read, or
    // was refused, or StoppedBy says why).
    std::optional<BatchRecord> Next();
    // Why reading stopped before the end of the input: a line that is no UTF-8, read as UTF-8.
    const std::string& StoppedBy() const { return stoppedBy_; }

  private:
    std::optional<std::string> ReadHeader();
    std::optional<std::string> ReadColumns(CsvRecord& first);
    void ReadCells(std::vector<std::string> cells, BatchRecord& record) const;

    CsvInput input_;
    BatchSource source_;
    std::vector<std::string> names_;
    std::vector<BatchColumn> columns_;
    std::optional<std::string> pendingText_;  // a first line that is a record
    std::string stoppedBy_;
    bool refused_ = false;
    std::int64_t recordNumber_ = 0;
};

// Every record of a list at once, or why the list (or its rest) cannot be read.
struct BatchList {
    std::optional<std::string> error;
    std::vector<BatchRecord> records;
};
BatchList ReadBatchRecords(std::istream& input, const BatchSource& source);

}  // namespace qv::cli
