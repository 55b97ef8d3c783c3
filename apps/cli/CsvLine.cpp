#include "CsvLine.h"

namespace qv::cli {

std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                cells.back() += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == ',') {
            cells.emplace_back();
        } else if (c == '"') {
            quoted = true;
        } else {
            cells.back() += c;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    return cells;
}

}  // namespace qv::cli
