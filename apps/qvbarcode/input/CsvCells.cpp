#include "input/CsvCells.h"

namespace qv::cli {

CsvCells SplitCsvRecord(std::string_view text) {
    CsvCells result;
    result.cells.emplace_back();
    enum class State { CellStart, Unquoted, Quoted, AfterQuote } state = State::CellStart;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& cell = result.cells.back();
        if (state == State::Quoted) {
            if (c != '"') {
                cell += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else {
                state = State::AfterQuote;
            }
        } else if (c == ',') {
            result.cells.emplace_back();
            state = State::CellStart;
        } else if (c == '"' && state == State::CellStart) {
            cell.clear();
            state = State::Quoted;
        } else {
            cell += c;
            if (state == State::CellStart && c != ' ' && c != '\t') {
                state = State::Unquoted;
            }
        }
    }
    result.open = state == State::Quoted;
    return result;
}

std::string_view TrimCellSpaces(std::string_view cell) {
    const auto first = cell.find_first_not_of(" \t");
    return first == std::string_view::npos
               ? std::string_view{}
               : cell.substr(first, cell.find_last_not_of(" \t") - first + 1);
}

}  // namespace qv::cli
