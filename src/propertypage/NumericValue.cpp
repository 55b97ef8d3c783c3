// SPDX-License-Identifier: MIT
#include <qvbarcode/propertypage/NumericValue.h>

#include <charconv>
#include <string>

namespace qv::propertypage {
namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

double NumericValueOf(std::u16string_view text) {
    // Gather the longest prefix that can form a number, blanks dropped, then let
    // from_chars decide how much of it is one; what it rejects has the value 0.
    std::string number;
    bool seenPoint = false;
    bool seenExponent = false;
    for (const char16_t c : text) {
        if (IsBlank(c)) continue;
        const char previous = number.empty() ? '\0' : number.back();
        const bool signAllowed = number.empty() || previous == 'e';
        if (IsDigit(c)) {
            number.push_back(static_cast<char>(c));
        } else if ((c == u'+' || c == u'-') && signAllowed) {
            if (c == u'-')
                number.push_back('-');
            else if (previous == 'e')
                number.push_back('+');
        } else if (c == u'.' && !seenPoint && !seenExponent) {
            seenPoint = true;
            number.push_back('.');
        } else if ((c == u'e' || c == u'E') && !seenExponent && !number.empty()) {
            seenExponent = true;
            number.push_back('e');
        } else {
            break;
        }
    }
    double value = 0.0;
    const char* first = number.data();
    const auto [end, error] = std::from_chars(first, first + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large to hold: keep the sign, so a huge negative width stays negative.
        return !number.empty() && number.front() == '-' ? -1e308 : 1e308;
    }
    return error == std::errc() ? value : 0.0;
}

}  // namespace qv::propertypage
