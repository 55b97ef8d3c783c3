#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "symbology/Encoders.h"

namespace qv::symbology {

// A numeric symbology as the control runs it: the text is prepared first, and a failing
// preparation is the result.
template <typename Encoder>
Encoding EncodePrepared(Encoder encode, std::u16string_view text, bool calculateCheckDigit) {
    const PreparedText prepared = PrepareTextToEncode(text, calculateCheckDigit);
    if (prepared.code != kDrawn) {
        return {prepared.code, {}};
    }
    return encode(prepared.textToEncode);
}

// A module string written in groups separated by spaces, one group per pattern.
inline std::string Modules(std::string_view grouped) {
    std::string modules;
    for (const char c : grouped) {
        if (c != ' ') modules.push_back(c);
    }
    return modules;
}

struct NumericCase {
    std::u16string input;
    bool calculateCheckDigit;
    std::int16_t code;
    std::string grouped;  // see Modules
    const char* why;
};

template <typename Encoder>
void ExpectEncodings(Encoder encode, std::initializer_list<NumericCase> cases) {
    for (const NumericCase& c : cases) {
        EXPECT_EQ(EncodePrepared(encode, c.input, c.calculateCheckDigit),
                  (Encoding{c.code, Modules(c.grouped)}))
            << c.why;
    }
}

}  // namespace qv::symbology
