#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::cli {

// The cells of one CSV record, as spreadsheets write them: separated by commas; a cell
// that begins with a double quote (spaces before it dropped) runs to its closing quote and
// may hold commas, line breaks and doubled quotes, each pair one quote.
struct CsvCells {
    std::vector<std::string> cells;
    bool open = false;  // the text ended inside a quoted cell: the record goes on
};
CsvCells SplitCsvRecord(std::string_view text);

// A cell without the spaces and tabs around it, as a header names its columns.
std::string_view TrimCellSpaces(std::string_view cell);

}  // namespace qv::cli
