// SPDX-License-Identifier: MIT
#include "input/RecordColumns.h"

#include <algorithm>
#include <charconv>

#include <qvbarcode/host/MemberTable.h>
#include "input/CsvCells.h"

namespace qv::cli {

std::variant<std::size_t, std::string> FindColumn(const std::vector<std::string>& columns,
                                                  std::string_view name, std::string_view option) {
    const auto named = [&](const std::string& column) {
        return host::NamesMatch(TrimCellSpaces(column), name);
    };
    if (std::ranges::count_if(columns, named) > 1) {
        return std::string(option) + "'s " + std::string(name) +
               " names two columns of the list: keep one of them";
    }
    if (const auto found = std::ranges::find_if(columns, named); found != columns.end()) {
        return static_cast<std::size_t>(found - columns.begin());
    }
    return std::string(option) + "'s " + std::string(name) + " names no column of the list";
}

std::variant<CellText, std::string> CellText::Bind(std::string_view text,
                                                   const std::vector<std::string>& columns) {
    CellText bound;
    while (!text.empty()) {
        const std::size_t open = text.find('{');
        const std::size_t close = text.find('}', open);
        if (open == std::string_view::npos || close == std::string_view::npos) {
            bound.parts_.push_back({std::string(text), std::nullopt});
            break;
        }
        if (open > 0) bound.parts_.push_back({std::string(text.substr(0, open)), std::nullopt});
        const std::string_view name = text.substr(open + 1, close - open - 1);
        auto column = FindColumn(columns, name, "--caption");
        if (auto* index = std::get_if<std::size_t>(&column)) {
            bound.parts_.push_back({{}, *index});
        } else if (host::NamesMatch(name, "Text")) {
            bound.parts_.push_back({{}, std::string::npos});
        } else {
            return std::get<std::string>(std::move(column));
        }
        text.remove_prefix(close + 1);
    }
    return bound;
}

std::string CellText::Expand(std::string_view recordText,
                             const std::vector<std::string>& cells) const {
    std::string line;
    for (const Part& part : parts_) {
        if (!part.column) {
            line += part.literal;
        } else if (*part.column == std::string::npos) {
            line += recordText;
        } else if (*part.column < cells.size()) {
            line += TrimCellSpaces(cells[*part.column]);
        }
    }
    return line;
}

bool CellText::UsesColumn(std::size_t column) const {
    return std::ranges::any_of(parts_, [&](const Part& part) { return part.column == column; });
}

std::optional<std::int32_t> CopiesOf(std::string_view cell) {
    cell = TrimCellSpaces(cell);
    std::int32_t copies = 0;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), copies);
    if (cell.empty() || error != std::errc() || end != cell.data() + cell.size() || copies < 0 ||
        copies > 100000) {
        return std::nullopt;
    }
    return copies;
}

}  // namespace qv::cli
