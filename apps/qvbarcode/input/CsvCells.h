// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::cli {

// A record or cell longer than this fails its record; reading skips to the record's end
// without holding it.
inline constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;

// One line or CSV record as read, starting on line `line`.
struct CsvRecord {
    std::string text;  // as read, its lines joined by \n
    std::vector<std::string> cells;
    std::int64_t line = 0;
    bool open = false;     // the input ended inside a quoted cell
    bool tooLong = false;  // over kMaxRecordBytes: text is its start, cells are none
};

// Reads a list's lines and CSV records as spreadsheets write them, one character at a time,
// so a record costs its own length whatever it holds. Lines end in LF, CRLF or a CR alone
// (old exports); a UTF-8 byte-order mark at the start is skipped. Cells are separated by
// the separator (a comma unless set); a cell that begins with a double quote (spaces before
// it dropped) runs to its closing quote and may hold separators, line breaks and doubled
// quotes, each pair one quote.
class CsvInput {
  public:
    explicit CsvInput(std::istream& input, char separator = ',');

    void SetSeparator(char separator) { separator_ = separator; }

    // The next line as one cell, or false at the end of the input.
    bool ReadLine(CsvRecord& record);
    // The next CSV record, or false at the end of the input.
    bool ReadRecord(CsvRecord& record);

  private:
    friend CsvRecord SplitLine(std::string_view line, char separator);

    static constexpr int kEnd = -1;
    static constexpr int kLoneCr = -2;  // a line end that a CR alone made
    // The next byte, every line end as '\n' (kLoneCr for a CR alone), or kEnd.
    int Next();
    bool Begin(CsvRecord& record);
    // Appends c to the text and cell (when given) to the last cell, up to kMaxRecordBytes.
    void Add(CsvRecord& record, char c, std::optional<char> cell);

    std::streambuf* buffer_;
    char separator_;
    std::string held_;  // bytes read ahead at the start that are not a byte-order mark
    std::int64_t linesEnded_ = 0;
    bool started_ = false;
};

// The cells of one line of text as ReadRecord reads them; open when a quoted cell runs on
// past the line.
CsvRecord SplitLine(std::string_view line, char separator);

// The separator a header line uses: of comma, semicolon and tab, the one it holds most
// often outside quotes; a comma when it holds none.
char FindSeparator(std::string_view headerLine);

// A cell without the spaces and tabs around it, as a header names its columns.
std::string_view TrimCellSpaces(std::string_view cell);

}  // namespace qv::cli
