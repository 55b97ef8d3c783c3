// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace qv::host {

// Leading and trailing U+0020 removed; nothing else counts as a space here.
inline std::u16string_view TrimSpaces(std::u16string_view text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

}  // namespace qv::host
