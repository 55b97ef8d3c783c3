#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::cli {

// The cells of one CSV line: separated by commas, a cell in double quotes may hold commas
// and doubled quotes. Records never span lines. Nothing for an unterminated quote.
std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line);

}  // namespace qv::cli
