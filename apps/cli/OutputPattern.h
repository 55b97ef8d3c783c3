#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::cli {

// A batch names its files by a pattern in which every run of # stands for the record
// number, padded with zeros to the run's length (labels/####.png gives labels/0007.png).
bool HasNumberRun(std::string_view pattern);
std::string ExpandPattern(std::string_view pattern, std::int64_t recordNumber);

}  // namespace qv::cli
