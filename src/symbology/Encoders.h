// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

#include <qvbarcode/symbology/Encoding.h>

namespace qv::symbology {

// Pure text-to-module-string functions, one per symbology. None of them draws.

// The text to encode: trimmed Text, digits only (else kInvalidCharacter, text left without a
// check digit), with the modulo-10 check digit of weights 3 and 1 appended on request.
// Lengths and the weighted sum are 16-bit: a longer text raises the overflow failed call.
struct PreparedText {
    std::int16_t code = kDrawn;
    std::u16string textToEncode;
};
PreparedText PrepareTextToEncode(std::u16string_view text, bool calculateCheckDigit);

// The modulo-10 check digit of digits ('0' to '9'), weights 3 and 1 from the right, or nothing
// at the first character from the right that is not a decimal digit. The sum is 16-bit, as
// PrepareTextToEncode's, which computes its check digit with it.
std::optional<char16_t> CheckDigitOf(std::u16string_view digits);

// Each takes the text to encode as PrepareTextToEncode leaves it.
Encoding EncodeInterleaved2of5(std::u16string_view textToEncode);
Encoding EncodeStandard2of5(std::u16string_view textToEncode);
Encoding EncodeEan13(std::u16string_view textToEncode);
// Takes Text as stored: trims and upper-cases it itself.
Encoding EncodeCode39(std::u16string_view text);

}  // namespace qv::symbology
