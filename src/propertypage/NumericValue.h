// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace qv::propertypage {

// The value of the decimal number a text begins with, blanks skipped, as a double; 0 for
// a text that begins with no number, the empty text included. "12abc" is 12, "-5" is -5,
// "1e3" is 1000.
double NumericValueOf(std::u16string_view text);

}  // namespace qv::propertypage
