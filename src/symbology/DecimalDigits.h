// SPDX-License-Identifier: MIT
#pragma once

namespace qv::symbology {

// Only the ten ASCII digits count: digits of other scripts are invalid characters.
constexpr bool IsDecimalDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The value of a character for which IsDecimalDigit holds.
constexpr int DigitValue(char16_t c) {
    return c - u'0';
}

}  // namespace qv::symbology
