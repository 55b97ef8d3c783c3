#include "OutputPattern.h"

namespace qv::cli {

bool HasNumberRun(std::string_view pattern) {
    return pattern.find('#') != std::string_view::npos;
}

std::string ExpandPattern(std::string_view pattern, std::int64_t recordNumber) {
    const std::string digits = std::to_string(recordNumber);
    std::string name;
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != '#') {
            name += pattern[i++];
            continue;
        }
        std::size_t run = 0;
        while (i < pattern.size() && pattern[i] == '#') {
            ++run;
            ++i;
        }
        if (digits.size() < run) {
            name.append(run - digits.size(), '0');
        }
        name += digits;
    }
    return name;
}

}  // namespace qv::cli
