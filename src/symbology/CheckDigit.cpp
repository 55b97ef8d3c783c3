// SPDX-License-Identifier: MIT
#include <qvbarcode/host/CheckedInt.h>
#include <qvbarcode/host/TextTrim.h>
#include <qvbarcode/symbology/DecimalDigits.h>
#include <qvbarcode/symbology/Encoders.h>

namespace qv::symbology {

using host::Int16;

std::optional<char16_t> CheckDigitOf(std::u16string_view digits) {
    const Int16 length = Int16::From(static_cast<std::int64_t>(digits.size()));
    // Right to left, so the rightmost digit always carries weight 3 whatever the length.
    Int16 sum;
    Int16 weight(3);
    for (std::int16_t i = length.value(); i >= 1; --i) {
        const char16_t c = digits[static_cast<std::size_t>(i - 1)];
        if (!IsDecimalDigit(c)) {
            return std::nullopt;
        }
        sum += weight * Int16(static_cast<std::int16_t>(DigitValue(c)));
        weight = weight == Int16(3) ? Int16(1) : Int16(3);
    }
    const int remainder = sum.value() % 10;
    return static_cast<char16_t>(u'0' + (remainder == 0 ? 0 : 10 - remainder));
}

PreparedText PrepareTextToEncode(std::u16string_view text, bool calculateCheckDigit) {
    const std::u16string_view trimmed = host::TrimSpaces(text);
    PreparedText prepared{kDrawn, std::u16string(trimmed)};
    const std::optional<char16_t> checkDigit = CheckDigitOf(trimmed);
    if (!checkDigit) {
        prepared.code = kInvalidCharacter;
    } else if (calculateCheckDigit) {
        prepared.textToEncode.push_back(*checkDigit);
    }
    return prepared;
}

}  // namespace qv::symbology
